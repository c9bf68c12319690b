#pragma once
// 銘柄検索: a modeless tool window of the main window that finds any brand of the national
// catalogue by name or reading as the user types, and hands the row the user chooses back to the
// main window, which shows it through its four lists. The brand index is built the first time
// the window opens; the window remembers nothing between runs and writes nothing.

#include "controls/CRvDialog.h"
#include "data/CBrandIndex.h"

#include <vector>

class CCatalogData;
class QLabel;
class QLineEdit;
class QTableView;
class QTextBrowser;
class QUrl;

class CBrandSearchDlg : public CRvDialog
{
    Q_OBJECT

public:
    static constexpr int IDC_QUERY = 1101;
    static constexpr int IDC_RESULTS = 1102;
    static constexpr int IDC_COUNT = 1103;
    static constexpr int IDC_PROFILE = 1104;

    // The result table's columns.
    enum Column { kColName, kColPref, kColClass, kColRequired, kColDetail, kColCount };

    CBrandSearchDlg(const CCatalogData &catalog, QWidget *parent);
    ~CBrandSearchDlg() override;

    // Shows the window, building the index on the first call, brings it to the front and selects
    // the query so that typing replaces it.
    void Open();

    const CBrandIndex &GetIndex() const { return m_index; }
    // Index entries of the rows shown, top to bottom.
    const std::vector<int> &GetRows() const;

Q_SIGNALS:
    // The user chose a row (Enter or a double-click); `entry` is valid during the call.
    void BrandChosen(const CBrandIndex::Entry &entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class CResultModel;

    void OnQueryChanged(const QString &text);
    void ChooseRow(int row);
    void SelectRow(int row);
    // The current row's variety in the pane below the results; empty without a current row.
    void ShowProfile();
    // A 親 or 子 link: its name becomes the query.
    void OnLinkClicked(const QUrl &url);
    // Beside the main window where the screen has room for it, the first time only.
    void PlaceBesideOwner();

    const CCatalogData &m_catalog;
    CBrandIndex m_index;
    bool m_bPlaced = false;

    QLineEdit *m_editQuery = nullptr;
    QLabel *m_lblCount = nullptr;
    QTableView *m_tblResult = nullptr;
    CResultModel *m_model = nullptr;
    QTextBrowser *m_txtProfile = nullptr;
    QStringList m_aLink;  // the names the pane's links stand for, by their number
};
