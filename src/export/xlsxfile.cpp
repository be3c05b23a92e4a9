#include "xlsxfile.h"
#include "automation.h"
#include <QFile>
#include <unordered_map>
#include <xlsxwriter.h>

namespace {
class FileWriter {
public:
    explicit FileWriter(const QString& path) : path_(path) {
        // Rows go out in order, so the writer can keep one row in memory instead of the whole sheet.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        const QByteArray name = QFile::encodeName(path);
        book_ = workbook_new_opt(name.constData(), &options);
        if (!book_)
            throw AutomationError(QStringLiteral("Не удалось создать файл %1").arg(path));
    }
    ~FileWriter() {
        if (!book_)
            return;
        // Left unclosed only by a failure: what the library writes on closing is not kept.
        workbook_close(book_);
        QFile::remove(path_);
    }

    void writeSheet(const SheetModel& sheet);

    void close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR)
            fail(error);
    }

private:
    [[noreturn]] void fail(lxw_error error) const {
        throw AutomationError(QStringLiteral("Не удалось записать файл %1: %2")
                                  .arg(path_, QString::fromUtf8(lxw_strerror(error))));
    }
    void check(lxw_error error) const {
        if (error != LXW_NO_ERROR)
            fail(error);
    }
    lxw_format* format(const CellStyle& style);

    QString path_;
    lxw_workbook* book_ = nullptr;
    std::unordered_map<std::uint64_t, lxw_format*> formats_;
};

std::uint64_t styleKey(const CellStyle& style) {
    std::uint64_t key = style.fill ? (std::uint64_t{1} << 24 | (*style.fill & 0xFFFFFF)) : 0;
    key |= std::uint64_t{style.alignment} << 25;
    for (std::size_t side = 0; side < style.borders.size(); ++side)
        key |= std::uint64_t{style.borders[side]} << (33 + 5 * side);
    return key;
}

lxw_format* FileWriter::format(const CellStyle& style) {
    if (style.plain())
        return nullptr;
    const std::uint64_t key = styleKey(style);
    if (auto found = formats_.find(key); found != formats_.end())
        return found->second;
    lxw_format* f = workbook_add_format(book_);
    if (style.fill) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, *style.fill & 0xFFFFFF);
    }
    if (style.alignment)
        format_set_align(f, style.alignment);
    format_set_left(f, style.borders[static_cast<std::size_t>(BorderSide::Left)]);
    format_set_right(f, style.borders[static_cast<std::size_t>(BorderSide::Right)]);
    format_set_top(f, style.borders[static_cast<std::size_t>(BorderSide::Top)]);
    format_set_bottom(f, style.borders[static_cast<std::size_t>(BorderSide::Bottom)]);
    formats_.emplace(key, f);
    return f;
}

void FileWriter::writeSheet(const SheetModel& sheet) {
    const QByteArray name = sheet.name().toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(book_, name.constData());
    if (!ws)
        throw AutomationError(QStringLiteral("Недопустимое имя листа %1").arg(sheet.name()));

    const std::optional<CellArea> formatted = sheet.formattedArea();
    int lastRow = sheet.lastValueRow();
    int lastColumn = sheet.lastValueColumn();
    if (formatted) {
        lastRow = std::max(lastRow, formatted->bottom);
        lastColumn = std::max(lastColumn, formatted->right);
    }

    // Columns: a width of their own and the formatting that applies to the whole column.
    int lastSetColumn = lastColumn;
    if (!sheet.columnWidths().empty())
        lastSetColumn = std::max(lastSetColumn, sheet.columnWidths().rbegin()->first);
    for (int c = 1; c <= lastSetColumn; ++c) {
        const auto width = sheet.columnWidths().find(c);
        lxw_format* columnFormat = format(sheet.columnStyle(c));
        if (width == sheet.columnWidths().end() && !columnFormat)
            continue;
        check(worksheet_set_column(ws, static_cast<lxw_col_t>(c - 1), static_cast<lxw_col_t>(c - 1),
                                   width != sheet.columnWidths().end() ? width->second : LXW_DEF_COL_WIDTH,
                                   columnFormat));
    }

    QByteArray utf8;
    for (int r = 1; r <= lastRow; ++r) {
        const auto row = static_cast<lxw_row_t>(r - 1);
        const bool rowFormatted = formatted && r >= formatted->top && r <= formatted->bottom;
        for (int c = 1; c <= lastColumn; ++c) {
            const CellValue& value = sheet.value(r, c);
            const bool empty = std::holds_alternative<std::monostate>(value);
            if (empty && !(rowFormatted && sheet.formattedCell(r, c)))
                continue;
            lxw_format* cellFormat = format(sheet.style(r, c));
            const auto column = static_cast<lxw_col_t>(c - 1);
            if (const auto* number = std::get_if<double>(&value)) {
                check(worksheet_write_number(ws, row, column, *number, cellFormat));
            } else if (const auto* text = std::get_if<QString>(&value)) {
                utf8 = text->toUtf8();
                check(worksheet_write_string(ws, row, column, utf8.constData(), cellFormat));
            } else {
                check(worksheet_write_blank(ws, row, column, cellFormat));
            }
        }
    }
}
} // namespace

void WriteXlsxFile(const WorkbookModel& workbook, const QString& path) {
    FileWriter writer(path);
    for (const auto& sheet : workbook.sheets)
        writer.writeSheet(*sheet);
    writer.close();
}
