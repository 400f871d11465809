#pragma once

#include <QByteArray>
#include <QList>
#include <array>
#include <optional>

namespace vornsim {

// Rows of a sensor's point table: one per temperature step, 60 on "30xx" models.
inline constexpr int kPointRows = 70;
inline constexpr int kPointRows30 = 60;

// The calibration points of the 16 sensors. The master table holds the points a client
// inserts, one pair of values per row at most, kept as the text it sent so that a listing
// gives them back byte for byte; FILL derives the full table from it. Commands hand their
// arguments over as they arrived; each call refuses what a module would refuse with its
// "ERROR: ..." line and changes nothing then. `rows` is the model's row count.
class PointTables {
public:
    // INSERT row sensor value value
    QByteArray insert(const QList<QByteArray>& args, int rows);
    // DELETE first last sensor: the master points of those rows.
    QByteArray remove(const QList<QByteArray>& args, int rows);
    // Every row of a sensor with master points gets values: the master point where there is
    // one, a straight line between two, the nearest one before the first and after the last.
    // Sensors without master points have no full table.
    void fill(int rows);
    // LIST M / LIST A first last [sensor]: "INSERT row sensor a b" lines of the master table,
    // or "POINT row sensor a b" lines of the full table, sensor by sensor, in row order.
    QByteArray list(bool full, const QList<QByteArray>& args, int rows,
                    QList<QByteArray>* lines) const;
    // The INSERT lines that rebuild the master table.
    QList<QByteArray> savedLines() const;

private:
    struct Point {
        QByteArray first;
        QByteArray second;
    };
    using Table = std::array<std::array<std::optional<Point>, kPointRows>, 16>;
    static QList<QByteArray> tableLines(const Table& table, const char* word, int firstRow,
                                        int lastRow, int firstSensor, int lastSensor);

    Table master_;
    Table full_;
};

} // namespace vornsim
