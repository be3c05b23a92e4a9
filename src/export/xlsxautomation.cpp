#include "xlsxautomation.h"
#include "desktopopener.h"
#include "sheetmodel.h"
#include "toolkit/messages.h"
#include "toolkit/timesource.h"
#include "xlsxfile.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <xlsxwriter.h>

namespace {
struct Book {
    WorkbookModel model;
    QDateTime created;
};
} // namespace

// The one running instance of the application: its open workbooks that the user has not yet been shown.
struct XlsxAutomation::Instance {
    QString folder;
    Opener opener;
    const TimeSource* clock = nullptr;
    bool running = false;
    std::vector<std::shared_ptr<Book>> hidden;
    std::shared_ptr<Book> active;
    QStringList written;

    void show();
    QString newFilePath(const QDateTime& created) const;
};

namespace {
// The objects handed out. Each holds what it needs, so a reference stays usable on its own.
struct AppObject final : AutoObject {
    std::shared_ptr<XlsxAutomation::Instance> instance;
};
struct WorkbooksObject final : AutoObject {
    std::shared_ptr<XlsxAutomation::Instance> instance;
};
struct SheetObject final : AutoObject {
    std::shared_ptr<Book> book;
    std::shared_ptr<SheetModel> sheet;
};
struct ColumnsObject final : AutoObject {
    std::shared_ptr<SheetModel> sheet;
};
// A range and the parts of it that format it all refer to cells of one worksheet.
struct AreaObject : AutoObject {
    std::shared_ptr<SheetModel> sheet;
    CellArea area;
};
struct RangeObject final : AreaObject {};
struct InteriorObject final : AreaObject {};
struct BordersObject final : AreaObject {};
struct BorderObject final : AreaObject {
    BorderSide side = BorderSide::Left;
};

bool is(const QString& member, const char* name) {
    return member.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void unknownMember(const QString& member) {
    throw AutomationError(QStringLiteral("Неизвестное имя: %1").arg(member));
}

[[noreturn]] void badArguments(const QString& member) {
    throw AutomationError(QStringLiteral("Неверное число или тип параметров: %1").arg(member));
}

[[noreturn]] void badValue(const QString& member, const AutoArg& value) {
    throw AutomationError(
        QStringLiteral("Недопустимое значение свойства %1: %2").arg(member, AutoArgText(value)));
}

std::int32_t intArg(const QString& member, const AutoArgs& args, std::size_t count, std::size_t i) {
    if (args.size() != count || !std::holds_alternative<std::int32_t>(args[i]))
        badArguments(member);
    return std::get<std::int32_t>(args[i]);
}

void noArgs(const QString& member, const AutoArgs& args) {
    if (!args.empty())
        badArguments(member);
}

template <class T> std::shared_ptr<T> make(const std::shared_ptr<SheetModel>& sheet, const CellArea& area) {
    auto object = std::make_shared<T>();
    object->sheet = sheet;
    object->area = area;
    return object;
}

std::shared_ptr<RangeObject> rangeOf(const std::shared_ptr<SheetModel>& sheet, const QString& member,
                                     const AutoArgs& args) {
    if (args.size() != 1 || !std::holds_alternative<QString>(args[0]))
        badArguments(member);
    const QString& reference = std::get<QString>(args[0]);
    const auto area = ParseAreaReference(reference);
    if (!area)
        throw AutomationError(QStringLiteral("Недопустимая ссылка на ячейки: %1").arg(reference));
    return make<RangeObject>(sheet, *area);
}

std::shared_ptr<RangeObject> cellOf(const std::shared_ptr<SheetModel>& sheet, const QString& member,
                                    const AutoArgs& args) {
    const int row = intArg(member, args, 2, 0);
    const int column = intArg(member, args, 2, 1);
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw AutomationError(QStringLiteral("Нет ячейки (%1, %2)").arg(row).arg(column));
    return make<RangeObject>(sheet, CellArea{row, column, row, column});
}

// What the worksheet members answer; the application answers the same for its active worksheet.
AutoRef sheetMember(const std::shared_ptr<SheetModel>& sheet, const QString& member, const AutoArgs& args) {
    if (is(member, "Columns")) {
        noArgs(member, args);
        auto columns = std::make_shared<ColumnsObject>();
        columns->sheet = sheet;
        return columns;
    }
    if (is(member, "Range"))
        return rangeOf(sheet, member, args);
    if (is(member, "Cells"))
        return cellOf(sheet, member, args);
    unknownMember(member);
}

// The colours behind the colour numbers 1 to 56 of the default palette.
constexpr QRgb Palette[56] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
                              0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
                              0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
                              0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
                              0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
                              0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
                              0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
constexpr int NoneConstant = -4142;
constexpr int AutomaticColour = -4105;

std::optional<std::uint8_t> alignmentOf(int number) {
    switch (number) {
    case 1:
        return LXW_ALIGN_NONE; // general
    case 2:
    case -4131:
        return LXW_ALIGN_LEFT;
    case 3:
    case -4108:
        return LXW_ALIGN_CENTER;
    case 4:
    case -4152:
        return LXW_ALIGN_RIGHT;
    case 5:
        return LXW_ALIGN_FILL;
    case 6:
    case -4130:
        return LXW_ALIGN_JUSTIFY;
    case 7:
        return LXW_ALIGN_CENTER_ACROSS;
    case 8:
    case -4117:
        return LXW_ALIGN_DISTRIBUTED;
    default:
        return std::nullopt;
    }
}

std::optional<std::uint8_t> lineStyleOf(int number) {
    switch (number) {
    case 1:
        return LXW_BORDER_THIN; // continuous, in the default (thin) weight
    case -4115:
        return LXW_BORDER_DASHED;
    case 4:
        return LXW_BORDER_DASH_DOT;
    case 5:
        return LXW_BORDER_DASH_DOT_DOT;
    case -4118:
        return LXW_BORDER_DOTTED;
    case -4119:
        return LXW_BORDER_DOUBLE;
    case 13:
        return LXW_BORDER_SLANT_DASH_DOT;
    case NoneConstant:
        return LXW_BORDER_NONE;
    default:
        return std::nullopt;
    }
}

void setRangeValue(const RangeObject& range, const QString& member, const AutoArg& value) {
    // Every cell of the range takes the value, as one entry would.
    if (range.area.cellCount() > std::int64_t{MaxColumns} * 64)
        throw AutomationError(QStringLiteral("Слишком большая область для значения"));
    CellValue entered;
    if (const auto* text = std::get_if<QString>(&value))
        entered = EnteredValue(*text, QLocale());
    else if (const auto* number = std::get_if<std::int32_t>(&value))
        entered = static_cast<double>(*number);
    else
        badValue(member, value);
    for (int r = range.area.top; r <= range.area.bottom; ++r)
        for (int c = range.area.left; c <= range.area.right; ++c)
            range.sheet->setValue(r, c, entered);
}

std::int32_t intValue(const QString& member, const AutoArg& value) {
    if (!std::holds_alternative<std::int32_t>(value))
        badValue(member, value);
    return std::get<std::int32_t>(value);
}
} // namespace

QString XlsxAutomation::Instance::newFilePath(const QDateTime& created) const {
    const QString stem =
        QStringLiteral("Протокол %1").arg(created.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).xlsx").arg(stem).arg(n));
    return path;
}

void XlsxAutomation::Instance::show() {
    while (!hidden.empty()) {
        const std::shared_ptr<Book> book = hidden.front();
        hidden.erase(hidden.begin());
        if (!QDir().mkpath(folder))
            throw AutomationError(
                QStringLiteral("Не удалось создать папку %1").arg(QDir::toNativeSeparators(folder)));
        const QString path = newFilePath(book->created);
        WriteXlsxFile(book->model, path);
        written << path;
        if (!(opener ? opener(path) : OpenWithDesktop(path)))
            Messages::show(QMessageBox::Information, QCoreApplication::applicationName(),
                           QStringLiteral("Нет программы, которая открыла бы протокол. Он записан в файл\n%1")
                               .arg(QDir::toNativeSeparators(path)));
    }
}

XlsxAutomation::XlsxAutomation(QString folder, Opener opener, const TimeSource* clock)
    : instance_(std::make_shared<Instance>()) {
    instance_->folder = std::move(folder);
    instance_->opener = std::move(opener);
    instance_->clock = clock;
}

XlsxAutomation::~XlsxAutomation() = default;

QString XlsxAutomation::ProtocolFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir(documents).filePath(QStringLiteral("Протоколы"));
}

QStringList XlsxAutomation::WrittenFiles() const {
    return instance_->written;
}

AutoRef XlsxAutomation::GetActiveObject(const QString& name) {
    if (name.compare(AutomationName, Qt::CaseInsensitive) != 0)
        throw AutomationError(QStringLiteral("Недопустимая строка с указанием класса: %1").arg(name));
    if (!instance_->running)
        throw AutomationError(QStringLiteral("Операция недоступна: приложение не запущено"));
    auto app = std::make_shared<AppObject>();
    app->instance = instance_;
    return app;
}

AutoRef XlsxAutomation::CreateObject(const QString& name) {
    if (name.compare(AutomationName, Qt::CaseInsensitive) != 0)
        throw AutomationError(QStringLiteral("Недопустимая строка с указанием класса: %1").arg(name));
    instance_->running = true; // one instance, as the desktop application has: starting it again attaches
    auto app = std::make_shared<AppObject>();
    app->instance = instance_;
    return app;
}

AutoRef XlsxAutomation::Get(const AutoRef& object, const QString& member, const AutoArgs& args) {
    if (!object)
        throw AutomationError(QStringLiteral("Переменная не содержит объекта"));
    if (const auto* app = dynamic_cast<const AppObject*>(object.get())) {
        if (is(member, "WorkBooks")) {
            noArgs(member, args);
            auto books = std::make_shared<WorkbooksObject>();
            books->instance = app->instance;
            return books;
        }
        const std::shared_ptr<Book> active = app->instance->active;
        if (!active)
            throw AutomationError(QStringLiteral("Нет открытой книги"));
        if (is(member, "WorkSheets")) {
            const int index = intArg(member, args, 1, 0);
            if (index < 1 || index > static_cast<int>(active->model.sheets.size()))
                throw AutomationError(QStringLiteral("Нет листа с номером %1").arg(index));
            auto sheet = std::make_shared<SheetObject>();
            sheet->book = active;
            sheet->sheet = active->model.sheets[static_cast<std::size_t>(index - 1)];
            return sheet;
        }
        return sheetMember(active->model.sheets.front(), member, args);
    }
    if (const auto* sheet = dynamic_cast<const SheetObject*>(object.get()))
        return sheetMember(sheet->sheet, member, args);
    if (const auto* columns = dynamic_cast<const ColumnsObject*>(object.get())) {
        if (!is(member, "Item"))
            unknownMember(member);
        const int column = intArg(member, args, 1, 0);
        if (column < 1 || column > MaxColumns)
            throw AutomationError(QStringLiteral("Нет столбца с номером %1").arg(column));
        return make<RangeObject>(columns->sheet, CellArea{1, column, MaxRows, column});
    }
    if (const auto* borders = dynamic_cast<const BordersObject*>(object.get())) {
        if (!is(member, "Item"))
            unknownMember(member);
        // The edges of every cell of the range: left, right, top, bottom.
        const int index = intArg(member, args, 1, 0);
        if (index < 1 || index > 4)
            throw AutomationError(QStringLiteral("Нет границы с номером %1").arg(index));
        auto border = make<BorderObject>(borders->sheet, borders->area);
        border->side = static_cast<BorderSide>(index - 1);
        return border;
    }
    if (const auto* range = dynamic_cast<const RangeObject*>(object.get())) {
        noArgs(member, args);
        if (is(member, "Interior"))
            return make<InteriorObject>(range->sheet, range->area);
        if (is(member, "Borders"))
            return make<BordersObject>(range->sheet, range->area);
    }
    unknownMember(member);
}

void XlsxAutomation::Set(const AutoRef& object, const QString& member, const AutoArg& value) {
    if (!object)
        throw AutomationError(QStringLiteral("Переменная не содержит объекта"));
    AutoObject* target = object.get();
    if (auto* app = dynamic_cast<AppObject*>(target); app && is(member, "Visible")) {
        if (!std::holds_alternative<bool>(value))
            badValue(member, value);
        if (std::get<bool>(value))
            app->instance->show();
        return;
    }
    if (auto* interior = dynamic_cast<InteriorObject*>(target); interior && is(member, "ColorIndex")) {
        const int index = intValue(member, value);
        if (index == NoneConstant || index == AutomaticColour)
            interior->sheet->setFill(interior->area, std::nullopt);
        else if (index >= 1 && index <= 56)
            interior->sheet->setFill(interior->area, Palette[index - 1]);
        else
            badValue(member, value);
        return;
    }
    if (auto* border = dynamic_cast<BorderObject*>(target); border && is(member, "LineStyle")) {
        const auto style = lineStyleOf(intValue(member, value));
        if (!style)
            badValue(member, value);
        border->sheet->setBorder(border->area, border->side, *style);
        return;
    }
    if (auto* borders = dynamic_cast<BordersObject*>(target); borders && is(member, "LineStyle")) {
        const auto style = lineStyleOf(intValue(member, value));
        if (!style)
            badValue(member, value);
        for (BorderSide side : {BorderSide::Left, BorderSide::Right, BorderSide::Top, BorderSide::Bottom})
            borders->sheet->setBorder(borders->area, side, *style);
        return;
    }
    if (auto* range = dynamic_cast<RangeObject*>(target)) {
        if (is(member, "Value"))
            return setRangeValue(*range, member, value);
        if (is(member, "ColumnWidth")) {
            const int width = intValue(member, value);
            if (width < 0 || width > 255)
                badValue(member, value);
            for (int c = range->area.left; c <= range->area.right; ++c)
                range->sheet->setColumnWidth(c, width);
            return;
        }
        if (is(member, "HorizontalAlignment")) {
            const auto alignment = alignmentOf(intValue(member, value));
            if (!alignment)
                badValue(member, value);
            range->sheet->setAlignment(range->area, *alignment);
            return;
        }
    }
    unknownMember(member);
}

void XlsxAutomation::Call(const AutoRef& object, const QString& member, const AutoArgs& args) {
    if (!object)
        throw AutomationError(QStringLiteral("Переменная не содержит объекта"));
    const auto* books = dynamic_cast<const WorkbooksObject*>(object.get());
    if (!books || !is(member, "add"))
        unknownMember(member);
    noArgs(member, args);
    auto book = std::make_shared<Book>();
    book->model.sheets.push_back(std::make_shared<SheetModel>(QStringLiteral("Лист1")));
    book->created = books->instance->clock ? books->instance->clock->Now() : QDateTime::currentDateTime();
    books->instance->hidden.push_back(book);
    books->instance->active = book;
}
