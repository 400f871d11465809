#pragma once
// A review window: one recording read back from its file and drawn like the live trend, in an
// MDI window of its own beside it. Several can be open at once; each is destroyed on closing.
//
// The file is read a slice at a time from the event loop, with a progress bar and Cancel, so
// that a capture of a million frames keeps every window usable while it loads. Then the chart
// can be zoomed (wheel, rubber band, + and -), panned (arrow keys) and reset (Home, Reset Zoom);
// the values under the mouse are spelled out below it.

#include "recordingreader.h"
#include "reviewpicture.h"
#include "sidecar.h"

#include <QFile>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QChartView;
class QLabel;
class QPlainTextEdit;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QValueAxis;

namespace ReviewData {
class ReviewLines;
}

class Review : public QWidget {
    Q_OBJECT

public:
    // A review of the file in a window of its own, shown at once and loading; says so and opens
    // nothing when the file cannot be opened. framePeriod (seconds, 0 unknown) serves when the
    // file has no times and no sidecar gives the period.
    static Review* Open(const QString& fileName, double framePeriod = 0);

    QSize sizeHint() const override;

    // Controls by their names.
    QLabel* lblFile = nullptr;
    QProgressBar* prgLoad = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdResetZoom = nullptr;
    QPushButton* cmdSavePicture = nullptr;
    QPushButton* cmdSaveData = nullptr;
    QLabel* lblMissing = nullptr;
    QChartView* chtReview = nullptr;
    QLabel* lblCursor = nullptr;
    QPlainTextEdit* txtSidecar = nullptr; // what the recording's sidecar says, beside the chart
    std::vector<QLineSeries*> linChannel;
    QTimer tmrLoad;

    bool loaded() const { return loaded_; }
    const ReviewData::Recording& recording() const { return recording_; }
    const std::vector<bool>& shownChannels() const { return shown_; }

public Q_SLOTS:
    void tmrLoad_Timer();
    void cmdCancel_Click();
    void cmdResetZoom_Click();
    void cmdSavePicture_Click();
    void cmdSaveData_Click();
    void chtReview_LegendClick(int channel);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Review(const QString& fileName, double framePeriod);

    void showRecording();
    void applyAxisTicks();
    void redrawSoon();
    void redraw();
    void zoomHorizontally(double factor, double anchor);
    void pan(double fractionX, double fractionY);
    void showValuesAt(const QPointF& viewPosition);
    bool handleKey(int key);

    QString fileName_;
    double framePeriod_;
    QFile file_;
    QByteArray slice_;
    std::unique_ptr<ReviewData::RecordingReader> reader_;
    ReviewData::Recording recording_;
    ReviewData::HorizontalAxis axis_;
    std::optional<ReviewData::Sidecar> sidecar_;
    std::vector<bool> shown_;
    bool loaded_ = false;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    ReviewData::ReviewLines* lines_ = nullptr;
    QTimer tmrRedraw_;
};
