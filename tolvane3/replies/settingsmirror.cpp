#include "settingsmirror.h"

#include "bargraph/Bar.h"
#include "hostcheck.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "scanconfig/VornConfig.h"
#include "scanlog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <cmath>
#include <functional>

namespace Global {
namespace {

using KeyHandler = std::function<void(const QString& value, const ReplyTokens& tokens)>;

VornConfig& Dialog() {
    return FormInstance<VornConfig>::instance();
}

bool IsOne(const QString& value) {
    return value == QLatin1String("1");
}

// A field shows the module's value, which is also kept for a dialog loaded later.
void Show(QLineEdit* field, const QString& value) {
    field->setText(value);
    ReportedScanFields[field->objectName()] = value;
}

void Show(QCheckBox* box, bool checked) {
    box->setChecked(checked);
    ReportedScanFields[box->objectName()] = checked ? QStringLiteral("1") : QStringLiteral("0");
}

// A module text as a single-precision number; 0 when it has none or it does not fit.
float NumberOf(const QString& value) {
    const float number = LeadingSingle(value);
    return std::isfinite(number) ? number : 0.0f;
}

// The bar graph recomputes its full scales and labels from a changed setting.
void RescaleBars() {
    FormInstance<Bar>::instance().SetXScale();
}

// Ends one settings group: ask for the next.
void GroupEnded() {
    StepListSequence(QString(), false);
}

// The model decides the status-line form (30xx) and where full scales come from (xx07).
void MirrorModel(const QString& model) {
    FormInstance<MDIMain>::instance().setStatusPanel(
        1, QStringLiteral("Connected to ") + ConnectedAddress + QStringLiteral(" (Model ") +
               model.trimmed() + QLatin1Char(')'));
    Model30 = model.startsWith(QLatin1String("30"));
    Model07 = model.endsWith(QLatin1String("07"));
}

void MirrorAverage(const QString& value) {
    VornConfig& dialog = Dialog();
    Show(dialog.medAverage, value);
    const int average = AverageOf(dialog.medAverage->text());
    const float period = LeadingSingle(dialog.medPeriod->text());
    // Only the module's own AVG line sets the frame period that scans are timed and logged by.
    if (const float framePeriod = FramePeriodOf(average, period); framePeriod > 0) {
        FramePeriod = framePeriod;
    }
    Show(dialog.medRate, NumberText(CalcScanRate(average, period)));
}

// PMAXL covers channels 0 to 7, PMAXH 8 to 15, unless each channel has its own full scale.
void MirrorBankMax(const QString& value, QLineEdit* field, QString& bankValue, int firstChannel) {
    Show(field, value);
    bankValue = value;
    if (!Model07) {
        for (int channel = firstChannel; channel < firstChannel + 8; ++channel) {
            ChannelMax[channel] = value;
        }
    }
    RescaleBars();
}

void MirrorChannelMax(int channel, const QString& value) {
    MaxSetting[channel] = value;
    if (channel == 15) {
        if (Model07) {
            for (int each = 0; each < 16; ++each) {
                ChannelMax[each] = MaxSetting[each];
            }
        }
        RescaleBars();
        GroupEnded();
    }
}

void MirrorUnit(const QString& value) {
    if (const int code = FindUnitCode(value); code >= 0) {
        Dialog().lstUnitScan->setCurrentIndex(code);
    }
    UnitScan = value;
    // The units label shows it; a module may name its unit after the full scales.
    RescaleBars();
}

// The value as the module sent it: every token after the key (HOST has three).
QString ValueText(const ReplyTokens& tokens) {
    QStringList values;
    for (int index = 2; index < tokens.count(); ++index) {
        values.append(tokens[index]);
    }
    return values.join(QLatin1Char(' '));
}

// The action of each key; any other key changes nothing.
const QHash<QString, KeyHandler>& KeyTable() {
    static const QHash<QString, KeyHandler> table = [] {
        QHash<QString, KeyHandler> keys;
        const auto field = [](QLineEdit* VornConfig::*member) {
            return [member](const QString& value, const ReplyTokens&) {
                Show(Dialog().*member, value);
            };
        };
        const auto box = [](QCheckBox* VornConfig::*member) {
            return [member](const QString& value, const ReplyTokens&) {
                Show(Dialog().*member, IsOne(value));
            };
        };
        keys[QStringLiteral("PERIOD")] = field(&VornConfig::medPeriod);
        keys[QStringLiteral("AVG")] = [](const QString& value, const ReplyTokens&) {
            MirrorAverage(value);
        };
        keys[QStringLiteral("FPS")] = [](const QString& value, const ReplyTokens&) {
            Show(Dialog().medFps, value);
            FramesPerScan = NumberOf(value);
        };
        keys[QStringLiteral("XSCANTRIG")] = [](const QString& value, const ReplyTokens&) {
            Show(Dialog().chkXScanTrig, IsOne(value));
            ExtTrigScan = IsOne(value);
        };
        keys[QStringLiteral("EU")] = [](const QString& value, const ReplyTokens&) {
            Show(Dialog().chkEu, IsOne(value));
            RescaleBars();
        };
        keys[QStringLiteral("ZC")] = box(&VornConfig::chkZc);
        keys[QStringLiteral("QPKTS")] = box(&VornConfig::chkQPkts);
        keys[QStringLiteral("CVTUNIT")] = [](const QString& value, const ReplyTokens&) {
            Show(Dialog().medCvtUnits, value);
            CvtUnit = value;
            RescaleBars();
        };
        keys[QStringLiteral("UNITSCAN")] = [](const QString& value, const ReplyTokens&) {
            MirrorUnit(value);
        };
        keys[QStringLiteral("PAGE")] = [](const QString&, const ReplyTokens&) { GroupEnded(); };
        keys[QStringLiteral("PMAXL")] = [](const QString& value, const ReplyTokens&) {
            MirrorBankMax(value, Dialog().medPMaxL, PMaxLow, 0);
        };
        keys[QStringLiteral("PMAXH")] = [](const QString& value, const ReplyTokens&) {
            MirrorBankMax(value, Dialog().medPMaxH, PMaxHigh, 8);
        };
        keys[QStringLiteral("PMINL")] = field(&VornConfig::medPMinL);
        keys[QStringLiteral("PMINH")] = field(&VornConfig::medPMinH);
        keys[QStringLiteral("NEGPTSL")] = field(&VornConfig::medNegPtsL);
        keys[QStringLiteral("NEGPTSH")] = [](const QString& value, const ReplyTokens&) {
            Show(Dialog().medNegPtsH, value);
            GroupEnded();
        };
        // MAX0 to MAX15 exactly: no sign, no leading zero, nothing past 15.
        for (int channel = 0; channel < 16; ++channel) {
            keys[QStringLiteral("MAX%1").arg(channel)] = [channel](const QString& value,
                                                                   const ReplyTokens&) {
                MirrorChannelMax(channel, value);
            };
        }
        keys[QStringLiteral("MODEL")] = [](const QString& value, const ReplyTokens&) {
            MirrorModel(value);
        };
        keys[QStringLiteral("HOST")] = [](const QString&, const ReplyTokens& tokens) {
            CheckBinaryHost(tokens);
            GroupEnded();
        };
        // The serial number and firmware are only kept, for recordings to name the module by.
        keys[QStringLiteral("SN")] = [](const QString&, const ReplyTokens&) {};
        keys[QStringLiteral("VER")] = [](const QString&, const ReplyTokens&) {};
        return keys;
    }();
    return table;
}

} // namespace

void HandleSetLine(const ReplyTokens& tokens, const QString& line) {
    if (LogListData) {
        LogLine(0, line);
    }
    const auto handler = KeyTable().constFind(tokens[1]);
    if (handler != KeyTable().constEnd()) {
        const QString value = ValueText(tokens);
        ReportedSettings[tokens[1]] = value;
        NoteLogSetting(tokens[1], value);
        (*handler)(tokens[2], tokens);
    }
}

} // namespace Global
