#include "shell/SearchResultDlg.h"

#include "search/SourceSearch.h"
#include "shell/DialogUnits.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>

namespace {

QString FromModel(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CSearchResultDlg::CSearchResultDlg(QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)), m_noHits(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Ergebnisse der Funktions-/Klassensuche"));
    setModal(true);
    const CDialogUnits units(font());

    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnCount(0);
    m_list->setHeaderHidden(true);
    m_list->setGeometry(units.Rect(7, 7, 296, 170));

    m_ok->setDefault(true);
    m_ok->setGeometry(units.Rect(253, 184, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_noHits->setObjectName(QStringLiteral("noHits"));
    m_noHits->setGeometry(units.Rect(7, 186, 240, 10));
    m_noHits->hide();

    // A hit's file opens with the desktop's program for it.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [](QTreeWidgetItem* item) {
        const QString path = item->data(0, Qt::UserRole).toString();
        if (!path.isEmpty()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        }
    });

    // Resizable from the template's size: the list takes the room, OK keeps
    // to the lower right corner.
    resize(units.Size(310, 205));
    setMinimumSize(units.Size(160, 80));
    setSizeGripEnabled(true);
}

void CSearchResultDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const CDialogUnits units(font());
    const QSize ok = units.Size(50, 14);
    const int margin = units.X(7);
    const int gap = units.Y(7);
    m_ok->move(width() - margin - ok.width(), height() - gap - ok.height());
    m_list->setGeometry(margin, units.Y(7), width() - 2 * margin, m_ok->y() - gap - units.Y(7));
    m_noHits->setGeometry(margin, m_ok->y(), m_ok->x() - 2 * margin, ok.height());
}

void CSearchResultDlg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CSearchResultDlg::OnInitDialog() {
    m_initialised = true;
    m_list->clear();
    m_list->setColumnCount(0);
    m_list->setHeaderHidden(true);
    if (m_pHits == nullptr || m_pNode == nullptr) {
        return;
    }
    const std::vector<SearchColumn> columns = CSourceSearch::Columns(m_mode);
    if (columns.empty()) {
        return;
    }
    const bool withName = columns.size() == 3;

    QStringList titles;
    for (const SearchColumn& column : columns) {
        titles << FromModel(column.title);
    }
    m_list->setColumnCount(static_cast<int>(columns.size()));
    m_list->setHeaderLabels(titles);
    m_list->setHeaderHidden(false);
    // Centred columns; the first one stays left-aligned.
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        m_list->setColumnWidth(i, columns[static_cast<size_t>(i)].width);
        m_list->headerItem()->setTextAlignment(i, i == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                         : Qt::AlignCenter);
    }

    // Sorted by the first column as the list control sorts, case-insensitively;
    // equal texts keep the order in which they were found.
    std::vector<const CSearchHit*> sorted;
    sorted.reserve(m_pHits->size());
    for (const CSearchHit& hit : *m_pHits) {
        sorted.push_back(&hit);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const CSearchHit* a, const CSearchHit* b) {
        return FromModel(a->GetClass()).compare(FromModel(b->GetClass()), Qt::CaseInsensitive) < 0;
    });

    for (const CSearchHit* hit : sorted) {
        QStringList texts{FromModel(hit->GetClass())};
        if (withName) {
            texts << FromModel(hit->GetName());
        }
        texts << FromModel(hit->GetFile());
        auto* item = new QTreeWidgetItem(m_list, texts);
        item->setData(0, Qt::UserRole, FromModel(hit->GetFile()));
        for (int i = 1; i < texts.size(); ++i) {
            item->setTextAlignment(i, Qt::AlignCenter);
        }
    }
    // Columns as wide as their texts, never narrower than given.
    for (int i = 0; i < m_list->columnCount(); ++i) {
        m_list->resizeColumnToContents(i);
        m_list->setColumnWidth(
            i, std::max(m_list->columnWidth(i), columns[static_cast<size_t>(i)].width));
    }
    m_noHits->setText(QStringLiteral("Keine Fundstellen vorhanden"));
    m_noHits->setVisible(sorted.empty());
}
