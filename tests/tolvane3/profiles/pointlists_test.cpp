// The point list dialogs against a fake module: the request OK sends from the three lists,
// empty choices included, and Cancel sending nothing.

#include "program_fixture.h"

#include <QComboBox>

namespace {

TEST_F(ProgramFixture, OkSendsTheChosenRowsAndChannelAsTheyStandAndUnloads) {
    ASSERT_TRUE(startConnectedQuietly());
    constexpr int none = -1;
    const std::tuple<bool, int, int, int, const char*> cases[] = {
        // master list?, start row, ending row, channel, bytes sent
        {true, 0, 69, 3, "List M 0 69 3\r"},
        {false, 0, none, 5, "List A 0  5\r"},
        {false, 60, 2, 15, "List A 60 2 15\r"},
        {true, none, none, none, "List M   \r"},
    };
    for (const auto& [master, start, end, channel, sent] : cases) {
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
        dialog.cmdOk->click();
        EXPECT_EQ(bytesSent(), sent);
        EXPECT_FALSE(FormInstance<MasterList>::isLoaded() || FormInstance<AllList>::isLoaded());
    }
}

TEST_F(ProgramFixture, CancelAndTheCloseBoxSendNothingAndUnload) {
    ASSERT_TRUE(startConnectedQuietly());
    MasterList& master = FormInstance<MasterList>::instance();
    BringForward(master);
    master.cmbChannel->setCurrentIndex(2);
    master.cmdCancel->click();
    AllList& all = FormInstance<AllList>::instance();
    BringForward(all);
    all.close();
    EXPECT_EQ(bytesSent(), "");
    EXPECT_FALSE(FormInstance<MasterList>::isLoaded() || FormInstance<AllList>::isLoaded());
}

} // namespace
