#include "app/CBrandSearchDlg.h"

#include "browser/CDemoContent.h"
#include "data/CCatalogData.h"
// QCursor first: the wait cursor converts its shape to one.
#include "controls/CWaitCursor.h"
#include <QCursor>

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {
// The mark of a brand whose texts and photographs this edition shows when it is chosen.
const QString kDetailShown = QStringLiteral("写真");

// The pane shows as many lines of a profile as a variety usually needs; more scroll.
constexpr int kProfileLines = 8;

// The profile as the pane shows it: the lines of its plain text, escaped, the first (name and
// reading) in bold, and the names after 親 and 子 as links numbered into `links`.
QString ProfileHtml(const BRAND_PROFILE &profile, QStringList &links)
{
    links.clear();
    const auto linked = [&links](const QStringList &names) {
        QStringList anchors;
        for (const QString &name : names) {
            anchors << QStringLiteral("<a href=\"link:%1\">%2</a>").arg(links.size()).arg(name.toHtmlEscaped());
            links << name;
        }
        return anchors.join(QStringLiteral("、"));
    };
    const QString parentHead = QStringLiteral("親: ");
    const QString childHead = QStringLiteral("子: ");
    QString html;
    const QStringList lines = CBrandProfile::Format(profile).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        QString body;
        if (i == 0)
            body = QStringLiteral("<b>%1</b>").arg(line.toHtmlEscaped());
        else if (line.startsWith(parentHead) && !profile.aParent.isEmpty())
            body = parentHead + linked(profile.aParent);
        else if (line.startsWith(childHead) && !profile.aChild.isEmpty())
            body = childHead + linked(profile.aChild);
        else
            body = line.toHtmlEscaped();
        html += QStringLiteral("<p style=\"margin:0\">%1</p>").arg(body);
    }
    return html;
}
}  // namespace

// The rows of one query, drawn on demand: a query that matches thousands of brands costs no more
// to show than one that matches ten.
class CBrandSearchDlg::CResultModel : public QAbstractTableModel
{
public:
    CResultModel(const CBrandIndex &index, QObject *parent)
        : QAbstractTableModel(parent)
        , m_index(index)
    {}

    void SetRows(std::vector<int> rows)
    {
        beginResetModel();
        m_aRow = std::move(rows);
        endResetModel();
    }
    const std::vector<int> &GetRows() const { return m_aRow; }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_aRow.size());
    }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : kColCount; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount(QModelIndex()))
            return {};
        const CBrandIndex::Entry &entry = m_index.GetAt(m_aRow[static_cast<std::size_t>(index.row())]);
        if (role == Qt::ToolTipRole && index.column() == kColName && !entry.strReading.isEmpty())
            return entry.strReading;
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case kColName:
            return entry.strName;
        case kColPref:
            return entry.strPrefName;
        case kColClass:
            return GrainClassText(entry.nClass);
        case kColRequired:
            return RequiredText(entry.bRequired);
        case kColDetail:
            return CDemoContent::HasContent(entry.nBureauPos, entry.nPrefNo, entry.nID) ? kDetailShown : QString();
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        switch (section) {
        case kColName:
            return QStringLiteral("銘柄");
        case kColPref:
            return QStringLiteral("都道府県");
        case kColClass:
            return QStringLiteral("分類");
        case kColRequired:
            return QStringLiteral("区分");
        case kColDetail:
            return QStringLiteral("詳細");
        default:
            return {};
        }
    }

private:
    const CBrandIndex &m_index;
    std::vector<int> m_aRow;
};

CBrandSearchDlg::CBrandSearchDlg(const CCatalogData &catalog, QWidget *parent)
    : CRvDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_catalog(catalog)
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    setWindowTitle(QStringLiteral("銘柄検索"));
    setModal(false);

    m_editQuery = new QLineEdit(this);
    m_editQuery->setPlaceholderText(QStringLiteral("銘柄名・よみ"));
    m_editQuery->setClearButtonEnabled(true);
    RegisterItem(IDC_QUERY, m_editQuery);

    m_lblCount = new QLabel(this);
    m_lblCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QFontMetrics metrics(font());
    m_lblCount->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00000 件")));
    RegisterItem(IDC_COUNT, m_lblCount);

    m_model = new CResultModel(m_index, this);
    m_tblResult = new QTableView(this);
    m_tblResult->setModel(m_model);
    m_tblResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tblResult->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tblResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tblResult->setTabKeyNavigation(false);
    m_tblResult->setWordWrap(false);
    m_tblResult->setShowGrid(false);
    m_tblResult->setAlternatingRowColors(true);
    m_tblResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tblResult->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured row by row while the user types.
    m_tblResult->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tblResult->verticalHeader()->setDefaultSectionSize(metrics.height() + MapDialogY(3));
    QHeaderView *header = m_tblResult->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int padding = MapDialogX(8);
    auto widthOf = [&](std::initializer_list<QString> texts) {
        int width = 0;
        for (const QString &text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        return width + padding;
    };
    header->setSectionResizeMode(kColName, QHeaderView::Stretch);
    header->setSectionResizeMode(kColPref, QHeaderView::Fixed);
    header->setSectionResizeMode(kColClass, QHeaderView::Fixed);
    header->setSectionResizeMode(kColRequired, QHeaderView::Fixed);
    header->resizeSection(kColPref, widthOf({QStringLiteral("都道府県"), QStringLiteral("鹿児島県")}));
    header->resizeSection(
        kColClass, widthOf({GrainClassText(kClassUruchi), GrainClassText(kClassMochi), GrainClassText(kClassBrewing)}));
    header->resizeSection(kColRequired, widthOf({QStringLiteral("区分"), RequiredText(true)}));
    header->setSectionResizeMode(kColDetail, QHeaderView::Fixed);
    header->resizeSection(kColDetail, widthOf({QStringLiteral("詳細"), kDetailShown}));
    RegisterItem(IDC_RESULTS, m_tblResult);

    // Read-only text the user can select and copy; its links stay in the window.
    m_txtProfile = new QTextBrowser(this);
    m_txtProfile->setOpenLinks(false);
    m_txtProfile->setOpenExternalLinks(false);
    m_txtProfile->setLineWrapMode(QTextEdit::WidgetWidth);
    m_txtProfile->document()->setDocumentMargin(MapDialogX(2));
    m_txtProfile->setFixedHeight(metrics.lineSpacing() * kProfileLines
                                 + 2 * (m_txtProfile->frameWidth() + MapDialogX(2)) + 2);
    RegisterItem(IDC_PROFILE, m_txtProfile);

    auto *queryRow = new QHBoxLayout;
    queryRow->addWidget(m_editQuery, 1);
    queryRow->addWidget(m_lblCount);
    auto *layout = new QVBoxLayout(this);
    const int margin = MapDialogX(7);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(MapDialogY(4));
    layout->addLayout(queryRow);
    layout->addWidget(m_tblResult, 1);
    layout->addWidget(m_txtProfile);

    resize(MapDialogSize(QSize(250, 260)));
    setMinimumSize(MapDialogSize(QSize(180, 100)).grownBy(QMargins(0, 0, 0, m_txtProfile->height())));

    connect(m_editQuery, &QLineEdit::textChanged, this, &CBrandSearchDlg::OnQueryChanged);
    connect(m_tblResult, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { ChooseRow(index.row()); });
    connect(m_tblResult->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CBrandSearchDlg::ShowProfile);
    connect(m_txtProfile, &QTextBrowser::anchorClicked, this, &CBrandSearchDlg::OnLinkClicked);
    m_editQuery->installEventFilter(this);
    m_tblResult->installEventFilter(this);

    // Ctrl+F here too goes back to the query, all of it selected.
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] {
        m_editQuery->setFocus(Qt::ShortcutFocusReason);
        m_editQuery->selectAll();
    });
}

CBrandSearchDlg::~CBrandSearchDlg() = default;

const std::vector<int> &CBrandSearchDlg::GetRows() const
{
    return m_model->GetRows();
}

void CBrandSearchDlg::Open()
{
    if (!m_index.IsBuilt()) {
        const CWaitCursor wait;
        m_index.Build(m_catalog);
        OnQueryChanged(m_editQuery->text());
    }
    if (!m_bPlaced) {
        m_bPlaced = true;
        PlaceBesideOwner();
    }
    show();
    raise();
    activateWindow();
    m_editQuery->setFocus(Qt::ShortcutFocusReason);
    m_editQuery->selectAll();
}

void CBrandSearchDlg::PlaceBesideOwner()
{
    const QWidget *owner = parentWidget();
    if (owner == nullptr || owner->screen() == nullptr)
        return;
    const QRect screen = owner->screen()->availableGeometry();
    const QRect frame = owner->frameGeometry();
    // As tall as the owner: a column of results at its side.
    resize(width(),
           std::max(height(), std::min(owner->height(), screen.height() - (frame.height() - owner->height()))));
    const QSize size = frameGeometry().size().expandedTo(this->size());
    const int top = std::clamp(frame.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    // Beside the owner on the side with more room; where neither side has enough, against the
    // screen's edge on that side, so that it covers as little of the owner as it can.
    const int roomRight = screen.right() - frame.right();
    const int roomLeft = frame.left() - screen.left();
    if (roomRight >= roomLeft)
        move(std::min(frame.right() + 1, screen.right() + 1 - size.width()), top);
    else
        move(std::max(frame.left() - size.width(), screen.left()), top);
}

void CBrandSearchDlg::OnQueryChanged(const QString &text)
{
    m_model->SetRows(m_index.Find(text));
    const std::size_t count = GetRows().size();
    // An empty query shows nothing, not even a count.
    m_lblCount->setText(CBrandIndex::Fold(text).isEmpty() ? QString() : QStringLiteral("%1 件").arg(count));
    if (count > 0)
        m_tblResult->scrollToTop();
    ShowProfile();
}

void CBrandSearchDlg::ShowProfile()
{
    const QModelIndex current = m_tblResult->currentIndex();
    BRAND_PROFILE profile;
    if (!current.isValid() || current.row() >= static_cast<int>(GetRows().size())
        || !m_index.GetProfile(m_index.GetAt(GetRows()[static_cast<std::size_t>(current.row())]).strName, profile)) {
        m_aLink.clear();
        m_txtProfile->clear();
        return;
    }
    m_txtProfile->setHtml(ProfileHtml(profile, m_aLink));
}

void CBrandSearchDlg::OnLinkClicked(const QUrl &url)
{
    bool ok = false;
    const qsizetype link = url.path().toLongLong(&ok);
    if (url.scheme() != QLatin1String("link") || !ok || link < 0 || link >= m_aLink.size())
        return;
    // Typing it would do the same: the query searches at once.
    m_editQuery->setText(m_aLink[link]);
    m_editQuery->setFocus(Qt::MouseFocusReason);
}

void CBrandSearchDlg::SelectRow(int row)
{
    const QModelIndex index = m_model->index(row, kColName);
    m_tblResult->setCurrentIndex(index);
    m_tblResult->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CBrandSearchDlg::ChooseRow(int row)
{
    const std::vector<int> &rows = GetRows();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    // The chosen row stays marked (Enter on the query chooses the first).
    if (m_tblResult->currentIndex().row() != row)
        SelectRow(row);
    // A copy: the main window's lists take their time, and nothing must change under them.
    const CBrandIndex::Entry entry = m_index.GetAt(rows[static_cast<std::size_t>(row)]);
    Q_EMIT BrandChosen(entry);
}

bool CBrandSearchDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return CRvDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const int rowCount = static_cast<int>(GetRows().size());
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;

    if (watched == m_editQuery && plain) {
        switch (key->key()) {
        case Qt::Key_Down:
        case Qt::Key_Up:
            if (rowCount > 0) {
                m_tblResult->setFocus(Qt::OtherFocusReason);
                SelectRow(key->key() == Qt::Key_Down ? 0 : rowCount - 1);
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ChooseRow(0);
            return true;
        default:
            break;
        }
    } else if (watched == m_tblResult) {
        const int current = m_tblResult->currentIndex().isValid() ? m_tblResult->currentIndex().row() : -1;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            ChooseRow(current);
            return true;
        }
        if (plain && key->key() == Qt::Key_Up && current <= 0) {
            m_editQuery->setFocus(Qt::OtherFocusReason);
            return true;
        }
        // Typing in the table goes on in the query.
        const QString text = key->text();
        if ((key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier && !text.isEmpty()
            && text.at(0).isPrint()) {
            m_editQuery->setFocus(Qt::OtherFocusReason);
            m_editQuery->deselect();
            m_editQuery->end(false);
            QCoreApplication::sendEvent(m_editQuery, event);
            return true;
        }
    }
    return CRvDialog::eventFilter(watched, event);
}
