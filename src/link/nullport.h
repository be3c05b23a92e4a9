#pragma once
#include "portbackend.h"
#include "searchcontrol.h"

// A link with no ports at all and a search that searches nothing: for drawing and measuring the windows
// without a meter (the screenshot tool, benchmarks, layout tests). Every open fails at once.
class NullPortBackend final : public PortBackend {
public:
    bool open(const QString&) override { return false; }
    void close() override {}
    bool write(std::uint8_t) override { return false; }
    Read read(std::uint8_t&, int) override { return Read::Failed; }
    std::int64_t nowUs() const override { return 0; }
};

class NullSearch final : public SearchControl {
public:
    void Resume(std::function<void(const QString&)>) override {}
    void Suspend() override {}
};
