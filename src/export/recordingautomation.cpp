#include "recordingautomation.h"

namespace {
const QString EmptyPath = QStringLiteral("<empty>");

class RecordedObject final : public AutoObject {
public:
    explicit RecordedObject(QString path) : path(std::move(path)) {}
    const QString path;
};

QString argumentList(const AutoArgs& args) {
    QStringList texts;
    for (const AutoArg& arg : args)
        texts << AutoArgText(arg);
    return texts.join(QStringLiteral(", "));
}
} // namespace

QString AutomationCall::text() const {
    QString line;
    switch (kind) {
    case Attach:
        line = QStringLiteral("attach ") + member;
        break;
    case Create:
        line = QStringLiteral("create ") + member;
        break;
    case Get:
        line = QStringLiteral("get ") + target + u'.' + member;
        if (!args.empty())
            line += u'(' + argumentList(args) + u')';
        break;
    case Set:
        line = QStringLiteral("set ") + target + u'.' + member + QStringLiteral(" = ") + argumentList(args);
        break;
    case Call:
        line = QStringLiteral("call ") + target + u'.' + member + u'(' + argumentList(args) + u')';
        break;
    }
    if (failed)
        line += QStringLiteral(" -> failed");
    return line;
}

QString RecordingAutomation::PathOf(const AutoRef& object) {
    const auto* recorded = dynamic_cast<const RecordedObject*>(object.get());
    return recorded ? recorded->path : EmptyPath;
}

QStringList RecordingAutomation::Texts() const {
    QStringList texts;
    for (const AutomationCall& call : Calls)
        texts << call.text();
    return texts;
}

AutoRef RecordingAutomation::record(AutomationCall call, bool makesObject) {
    // An empty reference is no object: a server would refuse the operation, and so does the recorder.
    const bool onEmpty = (call.kind == AutomationCall::Get || call.kind == AutomationCall::Set ||
                          call.kind == AutomationCall::Call) &&
                         call.target == EmptyPath;
    call.failed = onEmpty || (FailWhen && FailWhen(call));
    Calls.push_back(call);
    if (call.failed)
        throw AutomationError(onEmpty ? QStringLiteral("Переменная не содержит объекта")
                                      : QStringLiteral("Отказ сервера: ") + call.text());
    if (!makesObject)
        return {};
    QString path = call.kind == AutomationCall::Get ? call.target + u'.' + call.member : call.member;
    if (!call.args.empty())
        path += u'(' + argumentList(call.args) + u')';
    return std::make_shared<RecordedObject>(path);
}

AutoRef RecordingAutomation::GetActiveObject(const QString& name) {
    return record({AutomationCall::Attach, {}, name, {}}, true);
}

AutoRef RecordingAutomation::CreateObject(const QString& name) {
    return record({AutomationCall::Create, {}, name, {}}, true);
}

AutoRef RecordingAutomation::Get(const AutoRef& object, const QString& member, const AutoArgs& args) {
    return record({AutomationCall::Get, PathOf(object), member, args}, true);
}

void RecordingAutomation::Set(const AutoRef& object, const QString& member, const AutoArg& value) {
    record({AutomationCall::Set, PathOf(object), member, {value}}, false);
}

void RecordingAutomation::Call(const AutoRef& object, const QString& member, const AutoArgs& args) {
    record({AutomationCall::Call, PathOf(object), member, args}, false);
}
