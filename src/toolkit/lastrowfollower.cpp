#include "toolkit/lastrowfollower.h"
#include <QAbstractItemView>
#include <QEvent>

LastRowFollower::LastRowFollower(QAbstractItemView* view) : QObject(view), view_(view) {
    view->installEventFilter(this);
}

void LastRowFollower::rowsAdded() {
    if (view_->isVisible()) {
        view_->scrollToBottom();
        pending_ = false;
    } else {
        pending_ = true;
    }
}

bool LastRowFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::Show && pending_) {
        pending_ = false;
        // The view lays out its rows for the new size only after this event: scroll once it has.
        QMetaObject::invokeMethod(view_, &QAbstractItemView::scrollToBottom, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
