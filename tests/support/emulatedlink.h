#pragma once
#include "emulatedbackend.h"
#include "link/unitcomport.h"
#include <memory>

// A link to one emulated meter on one port, found by the search already unless told otherwise: the
// usual set-up of the tests of exchanges and of the windows that run them.
struct EmulatedLink {
    explicit EmulatedLink(MeterConfig config = {}, bool found = true,
                          QString port = QStringLiteral("/dev/ttyUSB0"))
        : meter(std::make_shared<MeterModel>(config)) {
        auto backend = std::make_unique<EmulatedPortBackend>();
        ports = backend.get();
        ports->addPort(port, meter);
        link = std::make_unique<LinkState>(std::move(backend), PortTable::fromList({port}));
        if (found)
            link->PublishFound(1);
    }
    EmulatedPortBackend::Event::Kind lastEvent() const { return ports->events().back().kind; }

    std::shared_ptr<MeterModel> meter;
    EmulatedPortBackend* ports = nullptr;
    std::unique_ptr<LinkState> link;
};
