#include "shell/ItemIcons.h"

#include "model/ClassNode.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

template <typename Draw> QIcon Drawn(Draw draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

// A solid block with a darker rim.
QIcon ClassIcon() {
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1.2));
        p.setBrush(QColor(0xf2, 0xb1, 0x34));
        p.drawRoundedRect(QRectF(2.5, 3.5, 11, 9), 1.5, 1.5);
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1));
        p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
    });
}

// The same block, hollow and dashed: a base that was named but not found.
QIcon PlaceholderIcon() {
    return Drawn([](QPainter& p) {
        QPen pen(QColor(0x80, 0x80, 0x80), 1.2);
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(2.5, 3.5, 11, 9), 1.5, 1.5);
    });
}

QIcon FunctionIcon() {
    return Drawn([](QPainter& p) {
        QPainterPath diamond;
        diamond.moveTo(8, 2);
        diamond.lineTo(14, 8);
        diamond.lineTo(8, 14);
        diamond.lineTo(2, 8);
        diamond.closeSubpath();
        p.setPen(QPen(QColor(0x4b, 0x1e, 0x7a), 1.2));
        p.setBrush(QColor(0x9b, 0x59, 0xd0));
        p.drawPath(diamond);
    });
}

QIcon VariableIcon() {
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0x0b, 0x5e, 0x73), 1.2));
        p.setBrush(QColor(0x2f, 0xa8, 0xc8));
        p.drawRect(QRectF(2.5, 5.5, 11, 5));
    });
}

} // namespace

QIcon ItemIcon(const CClassNode* node) {
    if (node == nullptr) {
        return {};
    }
    static const QIcon root(QStringLiteral(":/icons/document.png"));
    static const QIcon classIcon = ClassIcon();
    static const QIcon placeholder = PlaceholderIcon();
    static const QIcon function = FunctionIcon();
    static const QIcon variable = VariableIcon();
    switch (node->GetKind()) {
    case KindRoot:
        return root;
    case KindClass:
        // A placeholder has no place in a header.
        return node->GetLine() < 0 ? placeholder : classIcon;
    case KindFunction:
        return function;
    case KindVariable:
        return variable;
    default:
        return {};
    }
}
