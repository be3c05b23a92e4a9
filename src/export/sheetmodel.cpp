#include "sheetmodel.h"
#include <cmath>

namespace {
// One corner such as "K2" or "$A$1": column letters then row digits. Returns false when it is not one.
bool parseCorner(const QString& text, int& row, int& column) {
    int i = 0;
    const int n = static_cast<int>(text.size());
    auto skipDollar = [&] {
        if (i < n && text[i] == u'$')
            ++i;
    };
    skipDollar();
    column = 0;
    const int lettersFrom = i;
    for (; i < n && text[i].toUpper() >= u'A' && text[i].toUpper() <= u'Z'; ++i) {
        column = column * 26 + (text[i].toUpper().unicode() - u'A' + 1);
        if (column > MaxColumns)
            return false;
    }
    if (i == lettersFrom)
        return false;
    skipDollar();
    row = 0;
    const int digitsFrom = i;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        row = row * 10 + (text[i].unicode() - u'0');
        if (row > MaxRows)
            return false;
    }
    return i > digitsFrom && i == n && row >= 1;
}
} // namespace

std::optional<CellArea> ParseAreaReference(const QString& reference) {
    const QStringList corners = reference.trimmed().split(u':');
    if (corners.size() > 2)
        return std::nullopt;
    int r1 = 0, c1 = 0;
    if (!parseCorner(corners[0], r1, c1))
        return std::nullopt;
    int r2 = r1, c2 = c1;
    if (corners.size() == 2 && !parseCorner(corners[1], r2, c2))
        return std::nullopt;
    return CellArea{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

QString ColumnLetters(int column) {
    QString letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.prepend(QChar(u'A' + (column - 1) % 26));
    return letters;
}

CellValue EnteredValue(const QString& text, const QLocale& locale) {
    if (text.isEmpty())
        return std::monostate{};
    bool number = false;
    const double v = locale.toDouble(text, &number);
    // The locale reader also takes "inf" and "nan", which no spreadsheet reads as numbers.
    if (number && std::isfinite(v))
        return v;
    return text;
}

void SheetModel::setValue(int row, int column, CellValue value) {
    if (static_cast<int>(rows_.size()) < row) {
        if (std::holds_alternative<std::monostate>(value))
            return; // emptying a cell that never held anything
        rows_.resize(static_cast<std::size_t>(row));
    }
    auto& cells = rows_[static_cast<std::size_t>(row - 1)];
    if (static_cast<int>(cells.size()) < column) {
        if (std::holds_alternative<std::monostate>(value))
            return;
        cells.resize(static_cast<std::size_t>(column));
        lastColumn_ = std::max(lastColumn_, column);
    }
    cells[static_cast<std::size_t>(column - 1)] = std::move(value);
}

const CellValue& SheetModel::value(int row, int column) const {
    static const CellValue nothing;
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return nothing;
    const auto& cells = rows_[static_cast<std::size_t>(row - 1)];
    if (column < 1 || column > static_cast<int>(cells.size()))
        return nothing;
    return cells[static_cast<std::size_t>(column - 1)];
}

void SheetModel::setFill(const CellArea& area, std::optional<QRgb> colour) {
    changes_.push_back({StyleChange::Fill, area, 0, colour, 0});
}

void SheetModel::setAlignment(const CellArea& area, std::uint8_t alignment) {
    changes_.push_back({StyleChange::Alignment, area, 0, std::nullopt, alignment});
}

void SheetModel::setBorder(const CellArea& area, BorderSide side, std::uint8_t lineStyle) {
    changes_.push_back({StyleChange::Border, area, static_cast<int>(side), std::nullopt, lineStyle});
}

void SheetModel::apply(const StyleChange& change, CellStyle& style) const {
    switch (change.what) {
    case StyleChange::Fill:
        style.fill = change.colour;
        break;
    case StyleChange::Alignment:
        style.alignment = change.value;
        break;
    case StyleChange::Border:
        style.borders[static_cast<std::size_t>(change.side)] = change.value;
        break;
    }
}

CellStyle SheetModel::style(int row, int column) const {
    CellStyle style;
    for (const StyleChange& change : changes_)
        if (change.area.contains(row, column))
            apply(change, style);
    return style;
}

CellStyle SheetModel::columnStyle(int column) const {
    CellStyle style;
    for (const StyleChange& change : changes_)
        if (change.area.wholeColumns() && column >= change.area.left && column <= change.area.right)
            apply(change, style);
    return style;
}

std::optional<CellArea> SheetModel::formattedArea() const {
    std::optional<CellArea> box;
    for (const StyleChange& change : changes_) {
        if (change.area.wholeColumns())
            continue;
        if (!box)
            box = change.area;
        box->top = std::min(box->top, change.area.top);
        box->left = std::min(box->left, change.area.left);
        box->bottom = std::max(box->bottom, change.area.bottom);
        box->right = std::max(box->right, change.area.right);
    }
    return box;
}

bool SheetModel::formattedCell(int row, int column) const {
    for (const StyleChange& change : changes_)
        if (!change.area.wholeColumns() && change.area.contains(row, column))
            return true;
    return false;
}
