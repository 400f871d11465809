// The point list dialogs against a fake module: the request OK sends, empty choices included;
// Cancel and the close box send nothing. Every way out unloads.

#include "program_fixture.h"

#include <QComboBox>

namespace {

TEST_F(ProgramFixture, OkSendsTheRowsAndChannelAsChosenAndEveryWayOutUnloads) {
    ASSERT_TRUE(startConnectedQuietly());
    constexpr int none = -1;
    enum Press { Ok, Cancel, CloseBox };
    const std::tuple<bool, int, int, int, Press, const char*> cases[] = {
        // master list?, start row, ending row, channel, the way out, bytes sent
        {true, 0, 69, 3, Ok, "List M 0 69 3\r"},
        {false, 0, none, 5, Ok, "List A 0  5\r"},
        {false, 60, 2, 15, Ok, "List A 60 2 15\r"},
        {true, none, none, none, Ok, "List M   \r"},
        {true, 1, 2, 3, Cancel, ""},
        {false, 1, 2, 3, CloseBox, ""},
    };
    for (const auto& [master, start, end, channel, press, sent] : cases) {
        frame().mnuCommands->trigger();
        Commands& commands = FormInstance<Commands>::instance();
        (master ? commands.cmdListMP : commands.cmdListAselect)->click();
        PointListDialog& dialog =
            master ? static_cast<PointListDialog&>(FormInstance<MasterList>::instance())
                   : FormInstance<AllList>::instance();
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.cmbChannel->isEditable());
        EXPECT_EQ(dialog.cmbChannel->currentIndex(), none);
        dialog.cmbStartTemp->setCurrentIndex(start);
        dialog.cmbEndingTemp->setCurrentIndex(end);
        dialog.cmbChannel->setCurrentIndex(channel);
        if (press == CloseBox) {
            dialog.close();
        } else {
            (press == Ok ? dialog.cmdOk : dialog.cmdCancel)->click();
        }
        EXPECT_EQ(bytesSent(), sent);
        EXPECT_FALSE(FormInstance<MasterList>::isLoaded() || FormInstance<AllList>::isLoaded());
    }
}

} // namespace
