#include "platform/qt/views/message_layout.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tamsel::qt {

void layOutMessage(QWidget* window, QWidget* icon, QLayout* text, QBoxLayout* buttons, int margin,
                   int spacing) {
    auto* body = new QHBoxLayout;
    body->setSpacing(spacing);
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(text, 1);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(margin, margin, margin, 16);
    outer->setSpacing(spacing);
    outer->addLayout(body);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void centreOnPrimaryScreen(QWidget* window) {
    window->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

}  // namespace tamsel::qt
