#pragma once

#include "common/ProgramFolder.h"

#include <QWidget>

class QLabel;
class QPdfDocument;
class QPdfView;
class QStackedLayout;

namespace vantorel {

// Shows the user manual that lies beside the program: its pages one after
// another, as wide as the window. Without a readable manual it shows a page of
// its own that names the file it looked for.
class TfrmManual : public QWidget {
    Q_OBJECT
public:
    explicit TfrmManual(const ProgramFolder& folder, QWidget* parent = nullptr);

    void FormCreate();

    QPdfDocument* document() const { return m_document; }

    QPdfView* pdfView;
    QLabel* lbNoManual;

private:
    void Navigate(const QString& address);

    ProgramFolder m_folder;
    QPdfDocument* m_document;
    QStackedLayout* m_pages;
};

} // namespace vantorel
