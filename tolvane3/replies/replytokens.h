#pragma once
// A reply line split at every single space: n spaces in a row give n-1 empty tokens, a leading
// space an empty token 0. Only the first 101 tokens are kept (nothing reads past token 4); a
// missing token reads as "".

#include <QString>
#include <QStringList>

class ReplyTokens {
public:
    static constexpr int Slots = 101;

    explicit ReplyTokens(const QString& line);
    QString operator[](int index) const;
    int count() const { return static_cast<int>(tokens_.size()); }

private:
    QStringList tokens_;
};
