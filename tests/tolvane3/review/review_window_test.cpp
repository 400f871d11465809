// A review window in the frame: a recording chosen from the BarGraph menu, its gap told, a
// channel hidden by its legend and left out of the saved data, Escape closing it; a file that is
// no recording refused.

#include "program_fixture.h"
#include "review/Review.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QMdiArea>

namespace {

class ReviewTest : public ProgramFixture {
protected:
    void chooseOnOpen(const QString& name) {
        UserPrompts::setFileDialogHandler(
            [name](const UserPrompts::FileDialogRequest&) { return name; });
    }
};

TEST_F(ReviewTest, OpensARecordingFromTheMenuTellsItsGapAndHidesAChannelByItsLegend) {
    startProgram();
    sandbox.write("capture.csv",
                  "1200,1.000000,2.000000\r\n1204,1.500000,2.500000\r\n1205,1.250000,2.250000\r\n");
    chooseOnOpen(QStringLiteral("capture.csv"));
    frame().mnuReviewRecording->trigger();
    auto* review = frame().findChild<Review*>();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return review->loaded(); }));
    EXPECT_EQ(review->lblMissing->text(), "3 frames missing: 1201-1203");
    EXPECT_EQ(review->lblFile->text(), "capture.csv: 3 frames of 2 channels");

    const QList<QLegendMarker*> markers = review->chtReview->chart()->legend()->markers();
    ASSERT_EQ(markers.size(), 2);
    // The legend shows the entries of series added to a chart on screen once it is laid out.
    ASSERT_TRUE(QTest::qWaitFor([&] { return markers[0]->isVisible(); }));
    Q_EMIT markers[0]->clicked();
    EXPECT_EQ(review->shownChannels(), (std::vector<bool>{false, true}));
    chooseOnOpen(QStringLiteral("shown.csv"));
    review->cmdSaveData->click();
    EXPECT_EQ(contents(QStringLiteral("shown.csv")),
              "Frame,Ch 2\r\n1200,2\r\n1204,2.5\r\n1205,2.25\r\n");

    QTest::keyClick(review->chtReview, Qt::Key_Escape);
    // Its MDI window goes too: left are the connection window and the bar graph.
    ASSERT_TRUE(QTest::qWaitFor([] { return frame().mdiArea->subWindowList().size() == 2; }));

    sandbox.write("notes.txt", "shopping list\r\n");
    chooseOnOpen(QStringLiteral("notes.txt"));
    frame().mnuReviewRecording->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages.constFirst().text,
              "notes.txt is not a recording: line 1 cannot be read: shopping list");
    ASSERT_TRUE(QTest::qWaitFor([] { return frame().mdiArea->subWindowList().size() == 2; }));
}

} // namespace
