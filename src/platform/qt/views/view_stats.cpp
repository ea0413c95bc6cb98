// The statistics window: today's numbers in a column, the bar chart of the
// last days below them, the export and close buttons at the foot.

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/text.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/bar_chart.h"
#include "platform/qt/views/message_layout.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

namespace {

class StatsView : public ViewWidget {
protected:
    // However it closes (title bar, Escape, Close), the controller hears
    // of it and lets the window go.
    void closeEvent(QCloseEvent* event) override {
        emitAction("windowWillClose:");
        event->accept();
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)
            close();
        else
            ViewWidget::keyPressEvent(event);
    }
};

// A coloured square and its meaning, as the chart marks it.
QWidget* legendEntry(const QColor& colour, const QString& text) {
    auto* entry = new QWidget;
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    auto* swatch = new QLabel;
    const int side = swatch->fontMetrics().height() - 4;
    swatch->setFixedSize(side, side);
    swatch->setStyleSheet(QStringLiteral("background: %1; border-radius: 3px;").arg(colour.name()));
    row->addWidget(swatch);
    auto* label = new QLabel(text);
    label->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(label);
    return entry;
}

}  // namespace

std::unique_ptr<QtWindow> makeStatsView() {
    auto* view = new StatsView;
    view->setWindowTitle(translated(nib::kStatsWindowTitle));
    view->setWindowIcon(tamselIcon());
    view->setBackground(view->palette().color(QPalette::Window));
    auto window = std::make_unique<QtWindow>(view);
    QtWindow* w = window.get();
    auto outlet = [w](QWidget* widget, const char* name, nib::Kind kind) {
        widget->setObjectName(QString::fromLatin1(name));
        w->addOutlet(name, widget, kind);
    };

    auto* today = new QGridLayout;
    today->setHorizontalSpacing(16);
    today->setColumnMinimumWidth(0, 16);
    const struct {
        const char* caption;
        const char* name;
    } rows[] = {
        {QT_TRANSLATE_NOOP("Tamsel", "Active time"), "lblActiveToday"},
        {QT_TRANSLATE_NOOP("Tamsel", "Breaks taken"), "lblTakenToday"},
        {QT_TRANSLATE_NOOP("Tamsel", "Breaks snoozed"), "lblSnoozedToday"},
        {QT_TRANSLATE_NOOP("Tamsel", "Work periods skipped"), "lblSkippedToday"},
        {QT_TRANSLATE_NOOP("Tamsel", "Paused"), "lblPausedToday"},
    };
    for (const auto& row : rows) {
        auto* value = new QLabel;
        value->setTextFormat(Qt::PlainText);
        outlet(value, row.name, nib::Kind::Label);
        const int at = today->rowCount();
        today->addWidget(new QLabel(translated(row.caption)), at, 1);
        today->addWidget(value, at, 2);
    }
    today->setColumnStretch(3, 1);

    auto* week = new QHBoxLayout;
    week->addWidget(
        heading(QCoreApplication::translate("Tamsel", "This week, breaks taken in full:")));
    auto* share = heading({});
    outlet(share, "lblWeekShare", nib::Kind::Label);
    week->addWidget(share);
    week->addStretch(1);

    auto* chart = new BarChart;
    chart->setAccessibleName(
        QCoreApplication::translate("Tamsel", "Active time per day, the last 14 days"));
    outlet(chart, "chartDays", nib::Kind::Chart);
    auto* legend = new QHBoxLayout;
    legend->addWidget(legendEntry(chart->palette().color(QPalette::Highlight),
                                  QCoreApplication::translate("Tamsel", "active time")));
    legend->addWidget(
        legendEntry(BarChart::kTaken, QCoreApplication::translate("Tamsel", "breaks taken")));
    legend->addWidget(
        legendEntry(BarChart::kMissed,
                    QCoreApplication::translate("Tamsel", "breaks missed (snoozed or skipped)")));
    legend->addStretch(1);

    auto* exportButton = new QPushButton(QCoreApplication::translate("Tamsel", "&Export\u2026"));
    exportButton->setAutoDefault(false);
    exportButton->setToolTip(
        QCoreApplication::translate("Tamsel", "Saves the whole history as a CSV file"));
    outlet(exportButton, "btnExport", nib::Kind::Button);
    QObject::connect(exportButton, &QPushButton::clicked, view,
                     [view] { view->emitAction("exportBtn:", "btnExport"); });
    auto* close = new QPushButton(QCoreApplication::translate("Tamsel", "Close"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, view, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* form = new QVBoxLayout(view);
    form->setContentsMargins(20, 16, 20, 16);
    form->setSpacing(6);
    form->addWidget(heading(QCoreApplication::translate("Tamsel", "Today")));
    form->addLayout(today);
    form->addSpacing(10);
    form->addLayout(week);
    form->addSpacing(10);
    form->addWidget(
        heading(QCoreApplication::translate("Tamsel", "Active time, the last 14 days")));
    form->addWidget(chart, 1);
    form->addLayout(legend);
    form->addSpacing(10);
    form->addLayout(buttons);
    view->setMinimumSize(view->sizeHint());
    centreOnPrimaryScreen(view);
    return window;
}

}  // namespace tamsel::qt
