# The Qt headers nearly every tolvane3 file reads: parsed once per build instead of once per file,
# in the program's library and in the fuzzers' instrumented copy of it.
set(TOLVANE3_PRECOMPILED_HEADERS
    <QAction> <QCheckBox> <QComboBox> <QLabel> <QLineEdit> <QPushButton> <QString> <QTimer>
    <QVBoxLayout> <QWidget>)
