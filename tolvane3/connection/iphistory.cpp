// The program's address history: IpHist.cfg in the current directory and the connection
// window's list, both following Global::IpHistory.
#include "Main.h"
#include "addresshistory.h"
#include "program/Global.h"
#include "program/forms.h"

#include <QFile>
#include <QListWidget>
#include <QSaveFile>

namespace {

void refillHistoryList() {
    QListWidget* list = FormInstance<Main>::instance().lstIpHistory;
    list->clear();
    for (int slot = 0; slot < AddressHistory::UsedSlots; ++slot) {
        const QString& address = Global::IpHistory[static_cast<std::size_t>(slot)];
        if (!address.isEmpty()) {
            list->addItem(address);
        }
    }
}

} // namespace

namespace Global {

void AddToIpHistory(const QString& address) {
    AddressHistory::MoveToTop(IpHistory, address);
    refillHistoryList();
}

void LoadIpHistory() {
    QFile file(QString::fromLatin1(AddressHistory::FileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    if (AddressHistory::ReadSlots(file, IpHistory)) {
        refillHistoryList();
    }
}

void SaveIpHistory() {
    QSaveFile file(QString::fromLatin1(AddressHistory::FileName));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(AddressHistory::FileBytes(IpHistory));
        file.commit();
    }
}

} // namespace Global
