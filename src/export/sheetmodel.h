#pragma once
#include <QLocale>
#include <QRgb>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

// A worksheet as the spreadsheet-file backend builds it before writing: the entered cells, the column
// widths and the formatting applied to areas, in the order it was applied. No file format in here.

inline constexpr int MaxRows = 1048576;
inline constexpr int MaxColumns = 16384;
// A range that reaches this row means whole columns: it was the last row of the older workbooks.
inline constexpr int WholeColumnRows = 65536;

// Rows and columns from 1, both ends included.
struct CellArea {
    int top = 1, left = 1, bottom = 1, right = 1;
    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool wholeColumns() const { return top == 1 && bottom >= WholeColumnRows; }
    std::int64_t cellCount() const { return std::int64_t(bottom - top + 1) * std::int64_t(right - left + 1); }
    bool operator==(const CellArea&) const = default;
};

// "A1", "A2:K2", "$B$3:c7", in either order of corners; nothing for anything else or beyond the sheet.
std::optional<CellArea> ParseAreaReference(const QString& reference);
// The letters of a column: 1 is "A", 27 is "AA".
QString ColumnLetters(int column);

// What a cell holds: nothing, a number or a text.
using CellValue = std::variant<std::monostate, double, QString>;
// A text entered into a cell the way a spreadsheet takes typed input: what reads as a number in the locale
// becomes that number; anything else (times, "--") stays text, and an empty text leaves the cell empty.
CellValue EnteredValue(const QString& text, const QLocale& locale);

enum class BorderSide { Left, Right, Top, Bottom };
// Line styles and alignments carry the values of the file writer's own enumerations (0 = none/general).
struct CellStyle {
    std::optional<QRgb> fill;
    std::uint8_t alignment = 0;
    std::array<std::uint8_t, 4> borders{}; // by BorderSide
    bool operator==(const CellStyle&) const = default;
    bool plain() const { return *this == CellStyle{}; }
};

class SheetModel {
public:
    explicit SheetModel(QString name) : name_(std::move(name)) {}
    const QString& name() const { return name_; }

    void setValue(int row, int column, CellValue value);
    // Empty (monostate) outside what was written.
    const CellValue& value(int row, int column) const;
    // The last row that holds a value or a cell of its own, and the widest such row's last column.
    int lastValueRow() const { return static_cast<int>(rows_.size()); }
    int lastValueColumn() const { return lastColumn_; }

    void setColumnWidth(int column, double width) { widths_[column] = width; }
    const std::map<int, double>& columnWidths() const { return widths_; }

    void setFill(const CellArea& area, std::optional<QRgb> colour);
    void setAlignment(const CellArea& area, std::uint8_t alignment);
    void setBorder(const CellArea& area, BorderSide side, std::uint8_t lineStyle);

    // Everything applied to the cell, last application winning.
    CellStyle style(int row, int column) const;
    // What applies to a whole column, including the cells that were never touched.
    CellStyle columnStyle(int column) const;
    // Cells that formatting reaches and that must be written even without a value (whole columns aside):
    // the bounding box of those areas, or nothing.
    std::optional<CellArea> formattedArea() const;
    // Whether formatting other than whole-column formatting reaches the cell.
    bool formattedCell(int row, int column) const;

private:
    struct StyleChange {
        enum What { Fill, Alignment, Border } what;
        CellArea area;
        int side = 0;
        std::optional<QRgb> colour;
        std::uint8_t value = 0;
    };
    void apply(const StyleChange& change, CellStyle& style) const;

    QString name_;
    std::vector<std::vector<CellValue>> rows_; // row 1 first; each as wide as its last written column
    int lastColumn_ = 0;
    std::map<int, double> widths_;
    std::vector<StyleChange> changes_;
};

// A workbook: its worksheets, first one first.
struct WorkbookModel {
    std::vector<std::shared_ptr<SheetModel>> sheets;
};
