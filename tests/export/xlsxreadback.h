#pragma once
// Reads back what a test needs from an .xlsx file: the first sheet's cells and columns with the formats
// they carry. The package is opened with the unzip program, the parts parsed as XML.
#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QXmlStreamReader>
#include <vector>

struct CellFormat {
    QString fill;                     // ARGB of a solid fill, empty for none
    QString horizontal;               // "center", ... or empty
    QString left, right, top, bottom; // border styles, empty for none
};

struct XlsxCell {
    QString type;  // "" for a number, "inlineStr" or "s" for texts
    QString value; // the number as written, or the text
    int style = 0;
};

struct XlsxColumn {
    int min = 0, max = 0;
    double width = 0;
    int style = 0;
};

class XlsxReadBack {
public:
    // Empty error when the file was read.
    QString error;
    QString sheetName;
    QMap<QString, XlsxCell> cells; // by reference, "A1"
    std::vector<XlsxColumn> columns;
    std::vector<CellFormat> formats; // by style index

    explicit XlsxReadBack(const QString& path) {
        const QByteArray workbook = part(path, "xl/workbook.xml");
        const QByteArray sheet = part(path, "xl/worksheets/sheet1.xml");
        const QByteArray styles = part(path, "xl/styles.xml");
        const QByteArray strings = part(path, "xl/sharedStrings.xml", true);
        if (!error.isEmpty())
            return;
        readWorkbook(workbook);
        readStrings(strings);
        readSheet(sheet);
        readStyles(styles);
    }

    const CellFormat& format(int style) const {
        static const CellFormat none;
        return style >= 0 && style < static_cast<int>(formats.size()) ? formats[style] : none;
    }
    const CellFormat& formatOf(const QString& reference) const {
        return format(cells.value(reference).style);
    }
    const XlsxColumn* column(int number) const {
        for (const XlsxColumn& c : columns)
            if (number >= c.min && number <= c.max)
                return &c;
        return nullptr;
    }
    // The highest row that has a cell.
    int lastRow() const {
        int last = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            QString digits = it.key();
            digits.remove(QRegularExpression("^[A-Z]+"));
            last = std::max(last, digits.toInt());
        }
        return last;
    }

private:
    std::vector<QString> shared_;

    QByteArray part(const QString& path, const char* member, bool optional = false) {
        QProcess unzip;
        unzip.start("unzip", {"-p", path, QString::fromLatin1(member)});
        if (!unzip.waitForStarted(10000)) {
            error = "the unzip program could not be started";
            return {};
        }
        unzip.waitForFinished(30000);
        const QByteArray data = unzip.readAllStandardOutput();
        if ((unzip.exitCode() != 0 || data.isEmpty()) && !optional)
            error = QString("%1 is missing from %2").arg(member, path);
        return data;
    }

    static QString attribute(const QXmlStreamReader& xml, const char* name) {
        return xml.attributes().value(QLatin1String(name)).toString();
    }

    void readWorkbook(const QByteArray& data) {
        QXmlStreamReader xml(data);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("sheet") && sheetName.isEmpty())
                sheetName = attribute(xml, "name");
        }
    }

    void readStrings(const QByteArray& data) {
        QXmlStreamReader xml(data);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("t"))
                shared_.push_back(xml.readElementText());
        }
    }

    void readSheet(const QByteArray& data) {
        QXmlStreamReader xml(data);
        QString reference;
        XlsxCell cell;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("col")) {
                    columns.push_back({attribute(xml, "min").toInt(), attribute(xml, "max").toInt(),
                                       attribute(xml, "width").toDouble(), attribute(xml, "style").toInt()});
                } else if (xml.name() == QLatin1String("c")) {
                    reference = attribute(xml, "r");
                    cell = {attribute(xml, "t"), QString(), attribute(xml, "s").toInt()};
                } else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t")) {
                    cell.value = xml.readElementText();
                    if (cell.type == "s")
                        cell.value = shared_.at(cell.value.toULongLong());
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                cells.insert(reference, cell);
            }
        }
        if (xml.hasError())
            error = "sheet: " + xml.errorString();
    }

    void readStyles(const QByteArray& data) {
        QXmlStreamReader xml(data);
        std::vector<QString> fills;
        std::vector<CellFormat> borders;
        enum { None, Fills, Borders, Xfs } section = None;
        while (!xml.atEnd()) {
            xml.readNext();
            const auto name = xml.name();
            if (xml.isEndElement() && (name == QLatin1String("fills") || name == QLatin1String("borders") ||
                                       name == QLatin1String("cellXfs")))
                section = None;
            if (!xml.isStartElement())
                continue;
            if (name == QLatin1String("fills"))
                section = Fills;
            else if (name == QLatin1String("borders"))
                section = Borders;
            else if (name == QLatin1String("cellXfs"))
                section = Xfs;
            else if (section == Fills && name == QLatin1String("fill"))
                fills.emplace_back();
            else if (section == Fills && name == QLatin1String("fgColor"))
                fills.back() = attribute(xml, "rgb");
            else if (section == Borders && name == QLatin1String("border"))
                borders.emplace_back();
            else if (section == Borders && !borders.empty()) {
                CellFormat& b = borders.back();
                if (name == QLatin1String("left"))
                    b.left = attribute(xml, "style");
                else if (name == QLatin1String("right"))
                    b.right = attribute(xml, "style");
                else if (name == QLatin1String("top"))
                    b.top = attribute(xml, "style");
                else if (name == QLatin1String("bottom"))
                    b.bottom = attribute(xml, "style");
            } else if (section == Xfs && name == QLatin1String("xf")) {
                CellFormat f;
                const auto fill = attribute(xml, "fillId").toULongLong();
                const auto border = attribute(xml, "borderId").toULongLong();
                if (fill < fills.size())
                    f.fill = fills[fill];
                if (border < borders.size()) {
                    f.left = borders[border].left;
                    f.right = borders[border].right;
                    f.top = borders[border].top;
                    f.bottom = borders[border].bottom;
                }
                formats.push_back(f);
            } else if (section == Xfs && name == QLatin1String("alignment") && !formats.empty()) {
                formats.back().horizontal = attribute(xml, "horizontal");
            }
        }
        if (xml.hasError())
            error = "styles: " + xml.errorString();
    }
};
