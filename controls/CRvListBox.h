#pragma once
// A single-selection list box that reports the user's selections, and only those: a left click on
// an item (also the one already selected), a drag across items and a key that moves the selection
// each send SelChange. Selections made by the program stay silent, so the program can move a
// list without its own handler running again.
//
// Only a left click or a key changes the selection, and nothing the user does takes it away: the
// right and middle buttons leave the list as it is (the right one opens the window's menu), and
// Ctrl+click or Ctrl+Space on the selected line keeps it selected. The caret (the current line)
// stays where it was when the program clears the selection, so the arrow keys go on from there.

#include <QListWidget>

class CRvListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit CRvListBox(QWidget *parent = nullptr);

    // Selected position, or -1.
    int GetCurSel() const;
    // Selects a position; -1 clears the selection and keeps the caret. Sends no SelChange.
    void SetCurSel(int position);
    // Replaces every item, keeping the order given; nothing is selected afterwards.
    void SetItems(const QStringList &texts);
    QString GetText(int position) const;

Q_SIGNALS:
    void SelChange();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
