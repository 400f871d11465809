#pragma once
// Socket failures reported to the operator as a number and a description. The numbers are the
// classic socket error numbers, so that a number seen by one operator means the same to another:
//   10061 Connection refused          11001 Host not found (also an empty or malformed address)
//   10060 Connection timed out        10065 Host is unreachable (network errors)
//   10013 Permission denied           10055 No buffer space available
//   10048 Address already in use      10049 Address not available
//   10045 Operation not supported     10040 Message too long
//   10054 Connection reset by peer    10022 Invalid operation (anything else, with Qt's text)

#include <QAbstractSocket>
#include <QString>

struct SocketErrorInfo {
    int number = 0;
    QString description;
};

// fallbackDescription is used for errors without a fixed description of their own.
SocketErrorInfo DescribeSocketError(QAbstractSocket::SocketError error,
                                    const QString& fallbackDescription);

// The message box text: description, CR, "Error Number " and the number.
QString SocketErrorMessage(const SocketErrorInfo& info);
