#pragma once
// A single-selection list box that reports the user's selections, and only those: a click on an
// item (also the one already selected), a drag across items and a key that moves the selection
// each send SelChange. Selections made by the program stay silent, so the program can move a
// list without its own handler running again.

#include <QListWidget>

class CRvListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit CRvListBox(QWidget *parent = nullptr);

    // Selected position, or -1.
    int GetCurSel() const;
    // Selects a position (-1 clears the selection); sends no SelChange.
    void SetCurSel(int position);
    // Replaces every item, keeping the order given; nothing is selected afterwards.
    void SetItems(const QStringList &texts);
    QString GetText(int position) const;

Q_SIGNALS:
    void SelChange();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
