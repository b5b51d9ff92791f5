// vantorel-manual SOURCE.md OUT.pdf: writes the user manual as an A4 PDF from
// its Markdown source. The source's first chapter (its first "# " heading and
// the text up to the next) becomes the cover, followed by a table of contents;
// every further chapter starts on a new page; each page carries its number.
// Pictures are read relative to the source file and fitted to the text width.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// NanumGothic's space glyph goes missing in the PDF's text, which then reads as one word.
const QString kFont = QStringLiteral("NanumBarunGothic");
const QColor kHeadingColour(0x1f, 0x3a, 0x68);
// Room below the text for the page number.
constexpr qreal kFooterHeight = 28;

struct Heading {
    int level;
    QString text;
    int page; // 0-based, within the chapters
};

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

// Every block of the document, tables' cells included.
template <typename Visit> void forEachBlock(QTextDocument& doc, Visit visit) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        visit(block);
}

// The block's fragments, taken before any is changed: a change may merge them.
QList<QTextFragment> fragmentsOf(const QTextBlock& block) {
    QList<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragments << it.fragment();
    return fragments;
}

QTextCursor selecting(QTextDocument& doc, const QTextFragment& fragment) {
    QTextCursor cursor(&doc);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    return cursor;
}

// Sizes of the headings, by level; the cover's title is larger still.
qreal headingPointSize(int level) {
    return level == 1 ? 20 : level == 2 ? 14 : 12;
}

void styleHeading(QTextDocument& doc, const QTextBlock& block, bool newPage, qreal pointSize) {
    const int level = block.blockFormat().headingLevel();
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setTopMargin(level == 1 ? 6 : 18);
    format.setBottomMargin(level == 1 ? 16 : 8);
    if (newPage)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.setBlockFormat(format);
    // The importer sizes headings relative to the default font; these are set outright.
    for (const QTextFragment& fragment : fragmentsOf(block)) {
        QTextCharFormat chars = fragment.charFormat();
        chars.clearProperty(QTextFormat::FontSizeAdjustment);
        chars.clearProperty(QTextFormat::FontPixelSize);
        chars.setFontPointSize(pointSize);
        chars.setFontWeight(QFont::Bold);
        chars.setForeground(kHeadingColour);
        selecting(doc, fragment).setCharFormat(chars);
    }
}

// Loads each picture and sets its size so that it fits the text width.
void fitPictures(QTextDocument& doc, const QDir& sourceDir, qreal textWidth) {
    forEachBlock(doc, [&](const QTextBlock& block) {
        for (const QTextFragment& fragment : fragmentsOf(block)) {
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QString path = sourceDir.filePath(image.name());
            const QImage picture(path);
            if (picture.isNull())
                fail(QStringLiteral("cannot read the picture %1").arg(path));
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            // Window pictures read best a little smaller than the text is wide,
            // and a little smaller than their pixels, so that a small window and
            // its section share a page.
            const qreal width = std::min<qreal>(picture.width() * 0.8, textWidth * 0.8);
            image.setWidth(width);
            image.setHeight(picture.height() * width / picture.width());
            QTextCursor cursor = selecting(doc, fragment);
            cursor.setCharFormat(image);
            QTextBlockFormat centred = block.blockFormat();
            centred.setAlignment(Qt::AlignHCenter);
            cursor.setBlockFormat(centred);
        }
    });
}

void styleTables(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.6);
        format.setBorderBrush(QColor(0x99, 0x99, 0x99));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(5);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(6);
        format.setBottomMargin(10);
        table->setFormat(format);
        // The heading row stands out.
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat shade = cell.format();
            shade.setBackground(QColor(0xe8, 0xed, 0xf5));
            cell.setFormat(shade);
        }
    }
}

// A document of the given Markdown, laid out in pages of the body's size.
std::unique_ptr<QTextDocument> layOut(const QString& markdown, const QDir& sourceDir, const QSizeF& body,
                                      bool cover = false) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(kFont, 10.5));
    doc->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    bool firstHeading = true;
    forEachBlock(*doc, [&](const QTextBlock& block) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        cursor.setBlockFormat(format);
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            const bool title = cover && firstHeading;
            styleHeading(*doc, block, level == 1 && !firstHeading, title ? 26 : headingPointSize(level));
            firstHeading = false;
        }
    });
    fitPictures(*doc, sourceDir, body.width() - 2 * doc->documentMargin());
    styleTables(*doc);
    doc->setPageSize(body);
    return doc;
}

QList<Heading> headingsOf(QTextDocument& doc, qreal pageHeight) {
    QList<Heading> headings;
    forEachBlock(doc, [&](const QTextBlock& block) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2)
            return;
        const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
        headings.append({level, block.text(), int((rect.top() + 1) / pageHeight)});
    });
    return headings;
}

// The cover and the table of contents, numbering the chapters' pages from after its own.
std::unique_ptr<QTextDocument> coverWithContents(const QString& cover, const QList<Heading>& headings,
                                                 int coverPages, const QDir& sourceDir, const QSizeF& body) {
    auto doc = layOut(cover, sourceDir, body, true);
    QTextCursor cursor(doc.get());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat title;
    title.setHeadingLevel(2);
    title.setTopMargin(24);
    title.setBottomMargin(8);
    QTextCharFormat titleChars;
    titleChars.setFontPointSize(headingPointSize(2));
    titleChars.setFontWeight(QFont::Bold);
    titleChars.setForeground(kHeadingColour);
    cursor.insertBlock(title, titleChars);
    cursor.insertText(QStringLiteral("차례"));

    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 88), QTextLength(QTextLength::PercentageLength, 12)});
    QTextTable* table = cursor.insertTable(int(headings.size()), 2, format);
    for (int row = 0; row < headings.size(); ++row) {
        const Heading& h = headings[row];
        QTextCharFormat chars;
        chars.setFontPointSize(h.level == 1 ? 11 : 10);
        chars.setFontWeight(h.level == 1 ? QFont::Bold : QFont::Normal);
        QTextCursor text = table->cellAt(row, 0).firstCursorPosition();
        QTextBlockFormat indent;
        indent.setLeftMargin(h.level == 1 ? 0 : 22);
        indent.setTopMargin(h.level == 1 ? 6 : 0);
        text.setBlockFormat(indent);
        text.insertText(h.text, chars);
        QTextCursor number = table->cellAt(row, 1).firstCursorPosition();
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        right.setTopMargin(indent.topMargin());
        number.setBlockFormat(right);
        number.insertText(QString::number(coverPages + h.page + 1), chars);
    }
    doc->setPageSize(body);
    return doc;
}

void drawPages(QPainter& painter, QPdfWriter& writer, QTextDocument& doc, const QSizeF& body, int& pageNumber,
               int pageTotal) {
    for (int page = 0; page < doc.pageCount(); ++page) {
        if (pageNumber > 0)
            writer.newPage();
        ++pageNumber;
        painter.save();
        const QRectF clip(0, page * body.height(), body.width(), body.height());
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.save();
        painter.setPen(QColor(0x66, 0x66, 0x66));
        painter.setFont(QFont(kFont, 9));
        painter.drawLine(QPointF(0, body.height() + 6), QPointF(body.width(), body.height() + 6));
        const QRectF foot(0, body.height() + 8, body.width(), kFooterHeight - 8);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("모르윅 프로그램 매뉴얼"));
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 / %2").arg(pageNumber).arg(pageTotal));
        painter.restore();
    }
}

void writeManual(const QString& sourcePath, const QString& outPath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(sourcePath, source.errorString()));
    const QString markdown = QString::fromUtf8(source.readAll());
    const QDir sourceDir = QFileInfo(sourcePath).absoluteDir();

    // The cover ends where the second chapter begins.
    const qsizetype split = markdown.indexOf(QStringLiteral("\n# "));
    if (!markdown.startsWith(QStringLiteral("# ")) || split < 0)
        fail(QStringLiteral("%1 needs a title chapter and at least one more").arg(sourcePath));
    const QString cover = markdown.left(split + 1);
    const QString chapters = markdown.mid(split + 1);

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
    QPdfWriter writer(&out);
    writer.setTitle(QStringLiteral("모르윅 프로그램 매뉴얼"));
    writer.setCreator(QStringLiteral("vantorel-manual"));
    // Lay out in pixels at 96 dpi, the pictures' own measure.
    writer.setResolution(96);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter));
    const QRectF paint = writer.pageLayout().paintRectPixels(96);
    const QSizeF body(paint.width(), paint.height() - kFooterHeight);

    auto bodyDoc = layOut(chapters, sourceDir, body);
    const QList<Heading> headings = headingsOf(*bodyDoc, body.height());
    // The contents' own length decides where the chapters begin.
    int coverPages = 1;
    auto coverDoc = coverWithContents(cover, headings, coverPages, sourceDir, body);
    while (coverDoc->pageCount() != coverPages) {
        coverPages = coverDoc->pageCount();
        coverDoc = coverWithContents(cover, headings, coverPages, sourceDir, body);
    }

    const int total = coverPages + bodyDoc->pageCount();
    QPainter painter(&writer);
    int pageNumber = 0;
    drawPages(painter, writer, *coverDoc, body, pageNumber, total);
    drawPages(painter, writer, *bodyDoc, body, pageNumber, total);
    if (!painter.end())
        fail(QStringLiteral("cannot write %1").arg(outPath));
    if (!out.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
    std::printf("wrote %s: %d pages\n", qPrintable(outPath), total);
}

} // namespace

int main(int argc, char* argv[]) {
    // A build step: no screen, whatever the session has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vantorel-manual SOURCE.md OUT.pdf\n");
        return 2;
    }
    try {
        writeManual(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantorel-manual: %s\n", e.what());
        return 1;
    }
    return 0;
}
