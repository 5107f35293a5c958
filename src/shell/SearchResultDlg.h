#pragma once

#include <QDialog>
#include <vector>

class CClassNode;
class CSearchHit;
class QLabel;
class QPushButton;
class QTreeWidget;

// Lists the hits of one source search, one row per hit, sorted by the first
// column. Mode "H" shows class and file, modes "C" and "F" class, function
// name and file. A double click opens a hit's file.
class CSearchResultDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSearchResultDlg(QWidget* parent = nullptr);

    // The hits to show; not owned, read when the dialog is shown. Without
    // them the list stays without columns.
    void SetHits(const std::vector<CSearchHit>* hits) { m_pHits = hits; }
    // The node searched for; the dialog only tests it for null.
    void SetNode(const CClassNode* node) { m_pNode = node; }
    void SetMode(char mode) { m_mode = mode; }

    // Builds columns and rows; runs once, when the dialog is first shown.
    void OnInitDialog();

    QTreeWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }
    // Says in German that the search found nothing; hidden otherwise.
    QLabel* NoHitsLabel() const { return m_noHits; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const std::vector<CSearchHit>* m_pHits = nullptr;
    const CClassNode* m_pNode = nullptr;
    char m_mode = ' ';
    QTreeWidget* m_list;
    QPushButton* m_ok;
    QLabel* m_noHits;
    bool m_initialised = false;
};
