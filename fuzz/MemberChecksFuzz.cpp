// The member windows' checks on what is typed: the e-mail rule, the address a
// form puts together, and the key filters of the phone and ID fields.

#include "FuzzSupport.h"
#include "common/KeyFilters.h"
#include "members/SignUp.h"

using namespace vantorel;

namespace {

// The e-mail rule said the long way: exactly one "@", not first, and the last
// "." at least two places after it and not the last character.
bool emailRule(const QString& s) {
    int ats = 0;
    qsizetype at = -1;
    qsizetype dot = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'@') {
            ++ats;
            at = i;
        }
        if (s[i] == u'.')
            dot = i;
    }
    return ats == 1 && at > 0 && dot >= at + 2 && dot != s.size() - 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    fuzz::check(IsValidEmail(text) == emailRule(text), "IsValidEmail follows the rule", text);

    const qsizetype at = text.indexOf(u'@');
    if (at >= 0) {
        const QString field = text.left(at);
        const QString domain = text.mid(at + 1);
        const QString address = formMailAddress(field, domain);
        fuzz::check(domain.isEmpty() ? address == field : address == field + u'@' + domain,
                    "the form's address is the field, \"@\" and the domain", address);
    }

    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool digit = u >= u'0' && u <= u'9';
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        fuzz::check(AllowOnlyDigits(c) == (digit || u == kBackspace), "the phone field takes digits only",
                    QString::number(u));
        fuzz::check(AllowOnlyEnglishAndNumbers(c) == (digit || letter || u == kBackspace),
                    "the ID field takes letters and digits only", QString::number(u));
        fuzz::check(AllowOnlyLettersAndHangul(c) ==
                        (letter || (u >= 0xAC00 && u <= 0xD7A3) || u == kBackspace),
                    "the name field takes letters and Hangul only", QString::number(u));
    }
    return 0;
}
