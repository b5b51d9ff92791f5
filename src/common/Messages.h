#pragma once

#include <QString>

namespace vantorel {

// Every modal message box of the program, and the application's standard error
// box, go through one of these. The program shows real boxes; tests record.
class Messages {
public:
    virtual ~Messages() = default;

    // A modal box with the text and one OK button.
    virtual void show(const QString& text) = 0;

    // The application's standard error box, for errors no handler caught.
    virtual void standardError(const QString& text) = 0;

    // Asks where to save a file, offering the name; empty when the member cancels.
    virtual QString saveFileName(const QString& suggestedName) = 0;
};

} // namespace vantorel
