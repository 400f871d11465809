#include "socketerrors.h"

SocketErrorInfo DescribeSocketError(QAbstractSocket::SocketError error,
                                    const QString& fallbackDescription) {
    using E = QAbstractSocket::SocketError;
    switch (error) {
    case E::ConnectionRefusedError:
        return {10061, QStringLiteral("Connection refused")};
    case E::HostNotFoundError:
        return {11001, QStringLiteral("Host not found")};
    case E::SocketTimeoutError:
        return {10060, QStringLiteral("Connection timed out")};
    case E::NetworkError:
        return {10065, QStringLiteral("Host is unreachable")};
    case E::SocketAccessError:
        return {10013, QStringLiteral("Permission denied")};
    case E::SocketResourceError:
        return {10055, QStringLiteral("No buffer space available")};
    case E::AddressInUseError:
        return {10048, QStringLiteral("Address already in use")};
    case E::SocketAddressNotAvailableError:
        return {10049, QStringLiteral("Address not available")};
    case E::UnsupportedSocketOperationError:
        return {10045, QStringLiteral("Operation not supported")};
    case E::DatagramTooLargeError:
        return {10040, QStringLiteral("Message too long")};
    case E::RemoteHostClosedError:
        return {10054, QStringLiteral("Connection reset by peer")};
    default:
        return {10022, fallbackDescription.isEmpty() ? QStringLiteral("Invalid operation")
                                                     : fallbackDescription};
    }
}

QString SocketErrorMessage(const SocketErrorInfo& info) {
    return info.description + QLatin1Char('\r') + QStringLiteral("Error Number ") +
           QString::number(info.number);
}
