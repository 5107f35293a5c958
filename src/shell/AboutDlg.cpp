#include "shell/AboutDlg.h"

#include "shell/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kIconSize = 32;

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icons/vorlix.png"));
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_icon(new QLabel(this)), m_text(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Info über Vorlix"));
    setModal(true);
    const CDialogUnits units(font());

    const QRect iconPlace = units.Rect(11, 17, 0, 0);
    m_icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    m_icon->setGeometry(iconPlace.x(), iconPlace.y(), kIconSize, kIconSize);

    // Plain text: an ampersand in the text stays an ampersand.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setText(QStringLiteral("Vorlix, Version 1.0"));
    QRect textPlace = units.Rect(40, 10, 119, 8);
    textPlace.setSize(textPlace.size().expandedTo(m_text->sizeHint()));
    m_text->setGeometry(textPlace);

    m_ok->setDefault(true);
    m_ok->setGeometry(units.Rect(178, 7, 32, 14));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.Size(217, 55));
}
