// The point list dialogs against a fake module: the request OK sends, empty choices included;
// Cancel, Escape and the close box send nothing. Every way out unloads; Enter is none.

#include "program_fixture.h"

#include <QComboBox>

namespace {

TEST_F(ProgramFixture, OkSendsTheRowsAndChannelAsChosenAndEveryWayOutUnloads) {
    ASSERT_TRUE(startConnectedQuietly());
    constexpr int none = -1;
    enum Way { Ok, Cancel, Escape, CloseBox, Enter };
    const std::tuple<bool, int, int, int, Way, const char*> cases[] = {
        // master list?, start row, ending row, channel, the way out, bytes sent
        {true, 0, 69, 3, Ok, "List M 0 69 3\r"},
        {false, 0, none, 5, Ok, "List A 0  5\r"},
        {false, 60, 2, 15, Ok, "List A 60 2 15\r"},
        {true, none, none, none, Ok, "List M   \r"},
        {true, 1, 2, 3, Cancel, ""},
        {true, 1, 2, 3, Escape, ""},
        {false, 1, 2, 3, CloseBox, ""},
        {true, 1, 2, 3, Enter, ""}, // last: the dialog stays open
    };
    for (const auto& [master, start, end, channel, way, sent] : cases) {
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
        if (way == CloseBox) {
            dialog.close();
        } else if (way == Escape || way == Enter) {
            QTest::keyClick(dialog.cmbChannel, way == Escape ? Qt::Key_Escape : Qt::Key_Return);
        } else {
            (way == Ok ? dialog.cmdOk : dialog.cmdCancel)->click();
        }
        EXPECT_EQ(bytesSent(), sent);
        EXPECT_EQ(FormInstance<MasterList>::isLoaded() || FormInstance<AllList>::isLoaded(),
                  way == Enter);
    }
}

} // namespace
