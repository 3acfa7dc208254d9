// The practice controls of the Play group: count-in, metronome and speed trainer, kept in the
// settings, and the trainer's speed shown beside the tempo while it runs.

#include "frm_main.h"
#include "shell/settings.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

namespace fw {

void TfrmMain::SetUpPracticeControls() {
    Settings& s = settings();
    for (std::size_t i = 0; i < actCountIn.size(); ++i) {
        actCountIn[i]->setChecked(static_cast<int>(i) == s.CountIn);
        connect(actCountIn[i], &QAction::triggered, this,
                [this, i] { settings().CountIn = static_cast<int>(i); });
    }
    actMetronome->setChecked(s.Metronome);
    connect(actMetronome, &QAction::toggled, this, [this](bool on) { settings().Metronome = on; });
    actTrainer->setChecked(s.Trainer);
    connect(actTrainer, &QAction::toggled, this, [this](bool on) { settings().Trainer = on; });
    const auto bind = [this](QSpinBox* box, int Settings::*field) {
        box->setValue(settings().*field);
        connect(box, &QSpinBox::valueChanged, this,
                [this, field](int value) { settings().*field = value; });
    };
    bind(spnTrainerStart, &Settings::TrainerStart);
    bind(spnTrainerStep, &Settings::TrainerStep);
    bind(spnTrainerTarget, &Settings::TrainerTarget);
}

PracticeSettings TfrmMain::practiceSettings() const {
    const Settings& s = *m_settings;
    PracticeSettings practice;
    practice.CountInMeasures = s.CountIn;
    practice.Metronome = s.Metronome;
    practice.Trainer = s.Trainer;
    practice.TrainerStartPercent = s.TrainerStart;
    practice.TrainerStepPercent = s.TrainerStep;
    practice.TrainerTargetPercent = s.TrainerTarget;
    return practice;
}

void TfrmMain::ShowTrainerTempo(int tempo) {
    lblTrainerTempo->setText(tempo > 0 ? tr("Trainer: %1").arg(tempo) : QString());
}

} // namespace fw
