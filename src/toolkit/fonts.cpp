#include "fonts.h"
#include "resources.h"
#include <QFontDatabase>

namespace {
QStringList addFonts() {
    initEmbeddedResources();
    QStringList families;
    for (const char* file : {":/fonts/GOST_type_A.ttf", ":/fonts/Digirtu_.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id >= 0)
            families += QFontDatabase::applicationFontFamilies(id);
    }
    return families;
}
} // namespace

QStringList registerEmbeddedFonts() {
    static const QStringList families = addFonts();
    return families;
}
