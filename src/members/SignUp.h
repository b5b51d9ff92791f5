#pragma once

#include <QDateTime>
#include <QString>

namespace vantorel {

class CustomerDb;

// One "@", not first; the last "." at least two places after it and not last.
bool IsValidEmail(const QString& Email);

// The address a sign-up form gives: the field as typed when no domain is chosen,
// otherwise the field, "@" and the domain.
QString formMailAddress(const QString& field, const QString& domain);

bool isUserIdTaken(CustomerDb& db, const QString& userId);
bool IsPhoneNumberRegistered(CustomerDb& db, const QString& PhoneNumber);

// One code request per device every five minutes: true when the device has no
// recorded request, or the last one is at least five whole minutes away from now
// in either direction (a clock set back must not lock the device out).
bool CanAuthenticateFromDB(CustomerDb& db, const QDateTime& now, const QString& PhoneNumber,
                           const QString& IPAddress);
void DelAuthTimeToDB(CustomerDb& db, const QString& IPAddress);
// Records a code request at now, the PC's local time.
void SaveAuthTimeToDB(CustomerDb& db, const QDateTime& now, const QString& PhoneNumber,
                      const QString& IPAddress);

struct NewMember {
    QString name;
    QString userId;
    QString password;
    QString phone;
    QString mailAddress;
};

// Inserts the member as "Active", the password as its digest; all values as typed.
// Throws Error with the server's text (a duplicate ID, say).
void insertCustomer(CustomerDb& db, const NewMember& member);

} // namespace vantorel
