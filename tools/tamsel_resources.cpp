// Build-time tool: turns the manual's Markdown into Manual.pdf and renders the
// application icon for the hicolor theme. Runs headless (offscreen platform).
//
//   tamsel-resources manual <manual.md> <Manual.pdf>
//   tamsel-resources icons <directory> <size>...   writes <dir>/<N>x<N>/apps/tamsel.png

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>
#include <cstdlib>

#include "common/version.h"
#include "platform/qt/views/artwork.h"

namespace {

const QString kVersionText = QString::fromUtf8(tamsel::kVersion.data(), tamsel::kVersion.size());
const QString kTitle = QStringLiteral("Tamsel %1 \u2014 User Manual").arg(kVersionText);
const QColor kHeading(0x17, 0x5e, 0x53);  // the icon's teal, darker for print
const QColor kRule(0xb8, 0xc4, 0xc2);
const QColor kHeaderFill(0xe6, 0xf0, 0xee);
const QColor kFooter(0x70, 0x70, 0x70);
const QColor kCodeFill(0xf2, 0xf4, 0xf4);

// Qt would load an image a document names straight from the disk.
void dropImages(QTextDocument& doc) {
    QList<QPair<int, int>> images;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                images.append({it.fragment().position(), it.fragment().length()});
    for (auto i = images.crbegin(); i != images.crend(); ++i) {
        QTextCursor c(&doc);
        c.setPosition(i->first);
        c.setPosition(i->first + i->second, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
}

int fail(const QString& message) {
    std::fprintf(stderr, "tamsel-resources: %s\n", qPrintable(message));
    return 1;
}

// Headings in the icon's colour with air above them; the default Markdown
// look is plain black with cramped spacing.
void styleHeadings(QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level == 0) continue;
        QTextCursor c(b);
        QTextBlockFormat bf = b.blockFormat();
        bf.setTopMargin(level == 1 ? 0 : level == 2 ? 18 : 10);
        bf.setBottomMargin(level == 1 ? 14 : 6);
        c.setBlockFormat(bf);
        c.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat cf;
        cf.setForeground(kHeading);
        cf.setFontWeight(QFont::Bold);
        c.mergeCharFormat(cf);
    }
}

// Code in a tinted box, and set a little smaller: a monospaced face of the
// same point size looks larger than the text around it.
void styleCode(QTextDocument& doc, qreal bodySize) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        const QTextBlockFormat bf0 = b.blockFormat();
        if (bf0.hasProperty(QTextFormat::BlockCodeLanguage)) {
            QTextBlockFormat bf = bf0;
            bf.setBackground(kCodeFill);
            bf.setLeftMargin(bf.leftMargin() + 12);
            c.setBlockFormat(bf);
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            const bool mono =
                format.fontFixedPitch() ||
                format.fontFamilies().toStringList().contains(QLatin1String("monospace"));
            if (!f.isValid() || !mono) continue;
            QTextCursor span(&doc);
            span.setPosition(f.position());
            span.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            QTextCharFormat cf;
            cf.setFontPointSize(bodySize * 0.92);
            span.mergeCharFormat(cf);
        }
    }
}

// Tables full width with thin rules and a tinted header row.
void styleTables(QTextDocument& doc) {
    QList<QTextTable*> tables;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        if (QTextTable* t = c.currentTable(); t && !tables.contains(t)) tables.append(t);
    }
    for (QTextTable* t : tables) {
        QTextTableFormat tf = t->format();
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        tf.setBorder(2);  // device pixels at 300 dpi: a hairline
        tf.setBorderBrush(kRule);
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setBorderCollapse(true);
        tf.setCellPadding(4);
        tf.setCellSpacing(0);
        tf.setTopMargin(6);
        tf.setBottomMargin(10);
        tf.setHeaderRowCount(1);
        t->setFormat(tf);
        for (int col = 0; col < t->columns(); ++col) {
            QTextTableCell cell = t->cellAt(0, col);
            QTextCharFormat cf = cell.format();
            cf.setBackground(kHeaderFill);
            cell.setFormat(cf);
        }
    }
}

// A heading left alone at the foot of a page moves to the next page.
void keepHeadingsWithText(QTextDocument& doc, qreal pageHeight) {
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (int round = 0; round < 20; ++round) {
        bool moved = false;
        for (QTextBlock b = doc.begin(); b.isValid() && b.next().isValid(); b = b.next()) {
            if (b.blockFormat().headingLevel() == 0) continue;
            if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
            const QRectF here = layout->blockBoundingRect(b);
            const QRectF next = layout->blockBoundingRect(b.next());
            // Tables and code are laid out in frames; their first line is
            // still reported by the block that starts them.
            const int pageHere = int(here.top() / pageHeight);
            const int pageNext = int((next.top() + qMin<qreal>(next.height(), 40)) / pageHeight);
            if (pageNext > pageHere) {
                QTextCursor c(b);
                QTextBlockFormat bf = b.blockFormat();
                bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                c.setBlockFormat(bf);
                moved = true;
                break;  // the layout below has changed; look again from the top
            }
        }
        if (!moved) return;
    }
}

int writeManual(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    // The manual names the release as {version}; the number itself is the build's.
    const QString markdown =
        QString::fromUtf8(in.readAll()).replace(QStringLiteral("{version}"), kVersionText);
    if (markdown.trimmed().isEmpty()) return fail(QStringLiteral("%1 is empty").arg(source));

    const QString partial = target + QStringLiteral(".part");
    QPdfWriter pdf(partial);
    pdf.setResolution(300);
    pdf.setTitle(kTitle);
    pdf.setCreator(QStringLiteral("Tamsel"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(20, 18, 20, 12), QPageLayout::Millimeter));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&pdf);
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(9.5);
    doc.setDefaultFont(body);
    doc.setDocumentMargin(0);
    // The manual's own text only: raw HTML stays text, and no image is read
    // from the build machine (an <img> or ![](file) would put any file it
    // names into the PDF).
    doc.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                              QTextDocument::MarkdownNoHTML));
    dropImages(doc);
    styleHeadings(doc);
    styleCode(doc, body.pointSizeF());
    styleTables(doc);

    // The body keeps clear of the footer line at the foot of each page.
    const QRect paint = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const qreal footer = pdf.resolution() * 0.45;  // about 11 mm
    const QSizeF page(paint.width(), paint.height() - footer);
    doc.setPageSize(page);
    keepHeadingsWithText(doc, page.height());

    QPainter painter;
    if (!painter.begin(&pdf)) return fail(QStringLiteral("cannot write %1").arg(partial));
    QFont small = body;
    small.setPointSizeF(8);
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) pdf.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        const QRectF visible(0, i * page.height(), page.width(), page.height());
        painter.setClipRect(visible);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setFont(small);
        painter.setPen(QPen(kRule, 2));
        const qreal lineY = paint.height() - footer * 0.55;
        painter.drawLine(QPointF(0, lineY), QPointF(page.width(), lineY));
        painter.setPen(kFooter);
        const QRectF foot(0, lineY + 8, page.width(), footer * 0.5);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignTop, kTitle);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    if (!painter.end()) return fail(QStringLiteral("cannot finish %1").arg(partial));

    // Replace the old manual only once the new one is complete.
    QFile::remove(target);
    if (!QFile::rename(partial, target)) return fail(QStringLiteral("cannot write %1").arg(target));
    std::printf("%s: %d pages\n", qPrintable(target), pages);
    return 0;
}

int writeIcons(const QString& directory, const QStringList& sizes) {
    if (sizes.isEmpty()) return fail(QStringLiteral("no icon sizes given"));
    for (const QString& text : sizes) {
        bool ok = false;
        const int px = text.toInt(&ok);
        if (!ok || px < 8 || px > 1024) return fail(QStringLiteral("bad icon size %1").arg(text));
        QImage image = tamsel::qt::renderIcon(px);
        if (image.size() != QSize(px, px))
            image = image.scaled(px, px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(directory).arg(px);
        if (!QDir().mkpath(dir)) return fail(QStringLiteral("cannot create %1").arg(dir));
        const QString file = dir + QStringLiteral("/tamsel.png");
        if (!image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(file));
    }
    return 0;
}

}  // namespace

// Qt's note about a missing XDG_RUNTIME_DIR means nothing to a build.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int main(int argc, char** argv) {
    qInstallMessageHandler(quietMessages);
    // A build machine has no display; nothing here needs one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("manual"))
        return writeManual(args[1], args[2]);
    if (args.size() >= 3 && args[0] == QLatin1String("icons"))
        return writeIcons(args[1], args.mid(2));
    return fail(
        QStringLiteral("usage: tamsel-resources manual <in.md> <out.pdf> | "
                       "icons <dir> <size>..."));
}
