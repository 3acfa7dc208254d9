#include "practice_controls.h"

#include "app/shell/settings.h"
#include "main_controls.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

namespace fw {

void BindPracticeControls(MainControls& ui, Settings& s, QObject* context) {
    for (std::size_t i = 0; i < ui.actCountIn.size(); ++i) {
        ui.actCountIn[i]->setChecked(static_cast<int>(i) == s.CountIn);
        QObject::connect(ui.actCountIn[i], &QAction::triggered, context,
                         [&s, i] { s.CountIn = static_cast<int>(i); });
    }
    ui.actMetronome->setChecked(s.Metronome);
    QObject::connect(ui.actMetronome, &QAction::toggled, context,
                     [&s](bool on) { s.Metronome = on; });
    ui.actTrainer->setChecked(s.Trainer);
    QObject::connect(ui.actTrainer, &QAction::toggled, context, [&s](bool on) { s.Trainer = on; });
    const auto bind = [&s, context](QSpinBox* box, int Settings::*field) {
        box->setValue(s.*field);
        QObject::connect(box, &QSpinBox::valueChanged, context,
                         [&s, field](int value) { s.*field = value; });
    };
    bind(ui.spnTrainerStart, &Settings::TrainerStart);
    bind(ui.spnTrainerStep, &Settings::TrainerStep);
    bind(ui.spnTrainerTarget, &Settings::TrainerTarget);
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
