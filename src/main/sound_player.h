// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's sounds: the exhaust beat and the error sound, played
// asynchronously, at the program's own output volume, and the system beep.
// With KESTROVE_NO_SOUND set (tests, CI) or without an audio output the
// player stays silent; in the first case it never touches Qt Multimedia.

#include <QObject>
#include <QString>

#include <cstdint>

class QSoundEffect;

inline const QString ExhaustSoundFile = QStringLiteral("Exhaust.wav");
inline const QString ErrorSoundFile = QStringLiteral("Error.wav");

class SoundPlayer : public QObject {
    Q_OBJECT
  public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // False when sound is switched off or there is nothing to play it on.
    bool Enabled() const { return enabled_; }

    void PlayExhaust();
    void PlayError();

    // The output volume as a 32-bit value: the low 16 bits the left
    // channel, the high 16 bits the right.
    void SetOutputVolume(uint32_t value);
    uint32_t OutputVolume() const { return volume_; }

    // The system beep (silent too while switched off).
    void Beep();

    // The mean of the two channels as a fraction of 0xFFFF.
    static double VolumeFraction(uint32_t value);
    // KESTROVE_NO_SOUND is set (to anything but "0" or nothing).
    static bool SwitchedOffByEnvironment();
    // The sound file: from the working directory, else the copy beside the
    // program, else the installed data folder's, else empty.
    static QString FindSoundFile(const QString& name, const QString& workingDir,
                                 const QString& programDir);

  private:
    void Play(const QString& name, QSoundEffect*& effect);

    bool switchedOff_ = false;
    bool enabled_ = false;
    bool deviceChecked_ = false;
    uint32_t volume_ = 0xFFFFFFFFu;
    QSoundEffect* exhaust_ = nullptr;
    QSoundEffect* error_ = nullptr;
};
