#include "practice_controls.h"

#include "app/shell/settings.h"
#include "main_controls.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QStringList>
#include <QToolButton>

namespace fw {

QString PracticeButtonText(const PracticeSettings& practice) {
    QStringList on;
    if (practice.CountInMeasures > 0)
        on << QStringLiteral("count-in");
    if (practice.Metronome)
        on << QStringLiteral("metronome");
    if (practice.Trainer)
        on << QStringLiteral("trainer %1\u2192%2%")
                  .arg(practice.TrainerStartPercent)
                  .arg(practice.TrainerTargetPercent);
    const QString button = QStringLiteral("P&ractice");
    return on.isEmpty() ? button : button + QStringLiteral(": ") + on.join(QStringLiteral(", "));
}

void BindPracticeControls(MainControls& ui, Settings& s, QObject* context) {
    QToolButton* button = ui.btnPractice;
    const auto show = [&s, button] {
        button->setText(PracticeButtonText(PracticeFromSettings(s)));
        button->setToolTip(button->text().remove(QLatin1Char('&')));
    };
    for (std::size_t i = 0; i < ui.actCountIn.size(); ++i) {
        ui.actCountIn[i]->setChecked(static_cast<int>(i) == s.CountIn);
        QObject::connect(ui.actCountIn[i], &QAction::triggered, context, [&s, i, show] {
            s.CountIn = static_cast<int>(i);
            show();
        });
    }
    ui.actMetronome->setChecked(s.Metronome);
    QObject::connect(ui.actMetronome, &QAction::toggled, context, [&s, show](bool on) {
        s.Metronome = on;
        show();
    });
    ui.actTrainer->setChecked(s.Trainer);
    QObject::connect(ui.actTrainer, &QAction::toggled, context, [&s, show](bool on) {
        s.Trainer = on;
        show();
    });
    const auto bind = [&s, context, show](QSpinBox* box, int Settings::*field) {
        box->setValue(s.*field);
        QObject::connect(box, &QSpinBox::valueChanged, context, [&s, field, show](int value) {
            s.*field = value;
            show();
        });
    };
    bind(ui.spnTrainerStart, &Settings::TrainerStart);
    bind(ui.spnTrainerStep, &Settings::TrainerStep);
    bind(ui.spnTrainerTarget, &Settings::TrainerTarget);
    show();
}

PracticeSettings PracticeFromSettings(const Settings& s) {
    PracticeSettings practice;
    practice.CountInMeasures = s.CountIn;
    practice.Metronome = s.Metronome;
    practice.Trainer = s.Trainer;
    practice.TrainerStartPercent = s.TrainerStart;
    practice.TrainerStepPercent = s.TrainerStep;
    practice.TrainerTargetPercent = s.TrainerTarget;
    return practice;
}

} // namespace fw
