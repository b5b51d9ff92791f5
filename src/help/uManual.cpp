#include "help/uManual.h"

#include "help/ManualAddress.h"

#include <QFileInfo>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QStackedLayout>
#include <QUrl>

namespace vantorel {

TfrmManual::TfrmManual(const ProgramFolder& folder, QWidget* parent)
    : QWidget(parent)
    , m_folder(folder)
    , m_document(new QPdfDocument(this)) {
    setWindowTitle(QStringLiteral("모르윅 지표 설명서"));

    pdfView = new QPdfView(this);
    pdfView->setDocument(m_document);
    pdfView->setPageMode(QPdfView::PageMode::MultiPage);
    pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);

    lbNoManual = new QLabel(this);
    lbNoManual->setAlignment(Qt::AlignCenter);
    lbNoManual->setWordWrap(true);
    lbNoManual->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbNoManual->setAutoFillBackground(true);
    lbNoManual->setMargin(40);

    // Either page fills the whole client area and follows its size.
    m_pages = new QStackedLayout(this);
    m_pages->setContentsMargins(0, 0, 0, 0);
    m_pages->addWidget(pdfView);
    m_pages->addWidget(lbNoManual);

    resize(1388, 871);
    FormCreate();
}

void TfrmManual::FormCreate() {
    Navigate(manualAddress(m_folder.path()));
}

void TfrmManual::Navigate(const QString& address) {
    // A folder's "%", "#" or "?" is part of its name, not of the address's syntax.
    QString literal = address;
    literal.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('#'), QLatin1String("%23"))
        .replace(QLatin1Char('?'), QLatin1String("%3F"));
    const QString file = QUrl(literal).toLocalFile();
    const QPdfDocument::Error error = m_document->load(file);
    if (error == QPdfDocument::Error::None) {
        m_pages->setCurrentWidget(pdfView);
        return;
    }
    const bool missing = error == QPdfDocument::Error::FileNotFound || !QFileInfo::exists(file);
    lbNoManual->setText(
        (missing ? QStringLiteral("설명서 파일을 찾을 수 없습니다.")
                 : QStringLiteral("설명서 파일을 열 수 없습니다. PDF 파일이 손상되었을 수 있습니다.")) +
        (missing ? QStringLiteral("\n\n찾는 파일: ") : QStringLiteral("\n\n연 파일: ")) +
        QFileInfo(file).absoluteFilePath() +
        QStringLiteral("\n\n프로그램을 다시 설치하거나 관리자에게 문의해 주십시오."));
    m_pages->setCurrentWidget(lbNoManual);
}

} // namespace vantorel
