#pragma once
// What the selection cascade asks of the window that shows it: the four lists, the controls that
// follow a region's availability, and the detail display (pages and photographs). The window
// mirrors each call; selecting an item from here must not come back as a user's choice.

#include <QStringList>

class CCascadeView
{
public:
    virtual ~CCascadeView() = default;

    virtual void SetBureauItems(const QStringList &names) = 0;  // list 1024
    virtual void SetClassItems(const QStringList &names) = 0;   // list 1007
    virtual void SetPrefItems(const QStringList &names) = 0;    // list 1006
    virtual void SetGrainItems(const QStringList &names) = 0;   // list 1008

    // Position to select; -1 clears the list's selection.
    virtual void SelectBureauItem(int position) = 0;
    virtual void SelectPrefItem(int position) = 0;
    virtual void SelectClassItem(int position) = 0;
    virtual void SelectGrainItem(int position) = 0;

    // Points both pages at the window's photograph holder.
    virtual void AttachPictureHolder() = 0;
    // Both pages blank, all four photographs released, the photo frame repainted empty.
    virtual void ClearGrainDisplay() = 0;
    // Tab "特性" in front with its page shown, the "来歴" page hidden.
    virtual void ShowFeatureTab() = 0;
    // Shows the brand the cascade has just matched (its index is the cascade's current grain).
    virtual void ShowGrain() = 0;
};
