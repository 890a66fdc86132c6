// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/sound_player.h"

#include "auxiliary/data_folders.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent), switchedOff_(SwitchedOffByEnvironment()), enabled_(!switchedOff_) {}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::SwitchedOffByEnvironment() {
    const QByteArray v = qgetenv("KESTROVE_NO_SOUND");
    return !v.isEmpty() && v != "0";
}

double SoundPlayer::VolumeFraction(uint32_t value) {
    const double left = value & 0xFFFFu;
    const double right = value >> 16;
    return (left + right) / 2.0 / 65535.0;
}

QString SoundPlayer::FindSoundFile(const QString& name, const QString& workingDir,
                                   const QString& programDir) {
    return data_folders::FindFile(name, data_folders::Folders(workingDir, programDir));
}

void SoundPlayer::Beep() {
    if (!switchedOff_) QApplication::beep();
}

void SoundPlayer::SetOutputVolume(uint32_t value) {
    volume_ = value;
    const double v = VolumeFraction(value);
    for (QSoundEffect* e : {exhaust_, error_})
        if (e) e->setVolume(static_cast<float>(v));
}

void SoundPlayer::PlayExhaust() {
    Play(ExhaustSoundFile, exhaust_);
}

void SoundPlayer::PlayError() {
    Play(ErrorSoundFile, error_);
}

void SoundPlayer::Play(const QString& name, QSoundEffect*& effect) {
    if (!enabled_) return;
    if (!deviceChecked_) {
        // Without an output the effects would only complain on every beat.
        deviceChecked_ = true;
        if (QMediaDevices::audioOutputs().isEmpty()) {
            enabled_ = false;
            return;
        }
    }
    const QString path =
        FindSoundFile(name, QDir::currentPath(), QCoreApplication::applicationDirPath());
    if (path.isEmpty()) return; // a missing sound plays nothing
    const QUrl url = QUrl::fromLocalFile(path);
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setVolume(static_cast<float>(VolumeFraction(volume_)));
    }
    if (effect->source() != url) effect->setSource(url);
    effect->play();
}
