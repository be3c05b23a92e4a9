#pragma once
#include <QObject>

class QAbstractItemView;

// Keeps a view scrolled to its last row as rows are added, without paying for it while the view is
// hidden: every scroll lays out all the rows (about 0.36 ms with a million of them), so a hidden view
// is scrolled once, when it is shown again.
class LastRowFollower : public QObject {
public:
    // Belongs to the view.
    explicit LastRowFollower(QAbstractItemView* view);
    // Call after rows were added at the end.
    void rowsAdded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* view_;
    bool pending_ = false;
};
