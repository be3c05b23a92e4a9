#include "resources.h"
#include <QtCore/qresource.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initZevadavResources() {
    Q_INIT_RESOURCE(zevadav);
}

void initEmbeddedResources() {
    static const bool done = (initZevadavResources(), true);
    (void)done;
}
