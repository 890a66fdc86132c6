// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/ui_settings.h"

#include "main/main_form.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const QString ScaleKey = QStringLiteral("interface/scalePercent");
const QString LargeFontKey = QStringLiteral("display/largeFont");
const QString ViewKey = QStringLiteral("view/last");
const QString GeometryGroup = QStringLiteral("geometry/");
const QString ScaleCaption = QStringLiteral("Interface Scale");
const QString ScaleLabel = QStringLiteral("Size of the whole interface (from the next start):");
constexpr float LargeTextScale = 1.27f;

std::unique_ptr<QSettings> Open(const QString& file) {
    if (file.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("KESTROVE"), QStringLiteral("KESTROVE"));
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

bool Usable(const kes::View& v) {
    return std::isfinite(v.Scale) && std::isfinite(v.OffsetX) && std::isfinite(v.OffsetY) &&
           v.Scale > 0.0f;
}

} // namespace

UiSettings::UiSettings(const QString& settingsFile) : settings_(Open(settingsFile)) {}
UiSettings::~UiSettings() = default;

int UiSettings::InterfaceScalePercent() const {
    const int p = settings_->value(ScaleKey, 100).toInt();
    return std::find(InterfaceScalePercents.begin(), InterfaceScalePercents.end(), p) !=
                   InterfaceScalePercents.end()
               ? p
               : 100;
}

void UiSettings::SetInterfaceScalePercent(int percent) {
    settings_->setValue(ScaleKey, percent);
    settings_->sync();
}

std::optional<bool> UiSettings::LargeFont() const {
    if (!settings_->contains(LargeFontKey)) return std::nullopt;
    return settings_->value(LargeFontKey).toBool();
}

void UiSettings::SetLargeFont(bool large) {
    settings_->setValue(LargeFontKey, large);
}

std::optional<kes::View> UiSettings::LastView() const {
    const QStringList v = settings_->value(ViewKey).toStringList();
    if (v.size() != 3) return std::nullopt;
    const kes::View view{v[0].toFloat(), v[1].toFloat(), v[2].toFloat()};
    if (!Usable(view)) return std::nullopt;
    return view;
}

void UiSettings::SetLastView(const kes::View& view) {
    if (!Usable(view)) return;
    settings_->setValue(ViewKey, QStringList{QString::number(view.Scale, 'g', 9),
                                             QString::number(view.OffsetX, 'g', 9),
                                             QString::number(view.OffsetY, 'g', 9)});
}

QByteArray UiSettings::Geometry(const QString& window) const {
    return settings_->value(GeometryGroup + window).toByteArray();
}

void UiSettings::SetGeometry(const QString& window, const QByteArray& geometry) {
    settings_->setValue(GeometryGroup + window, geometry);
}

namespace {

// The main window first, then every window it made that has a name.
template <class F> void EachWindow(const TMainForm& form, QWidget& main, F&& f) {
    f(main);
    for (int i = 0; i < static_cast<int>(OtherWindow::Count); ++i)
        if (QWidget* w = form.Window(static_cast<OtherWindow>(i)); w && !w->objectName().isEmpty())
            f(*w);
}

} // namespace

void UiSettings::RestoreInto(TMainForm& form, kes::Model& m) const {
    if (const auto large = LargeFont()) {
        m.TextScaleX = *large ? LargeTextScale : 1.0f;
        m.TextScaleY = m.TextScaleX;
    }
    if (const auto view = LastView()) {
        m.CurrentView = *view;
        m.ZoomAnchorView = *view;
    }
    EachWindow(form, form, [&](QWidget& w) {
        const QByteArray g = Geometry(w.objectName());
        if (!g.isEmpty()) w.restoreGeometry(g);
    });
}

void UiSettings::SaveFrom(TMainForm& form, const kes::Model& m) {
    SetLargeFont(m.TextScaleX != 1.0f || m.TextScaleY != 1.0f);
    SetLastView(m.CurrentView);
    EachWindow(form, form, [&](QWidget& w) { SetGeometry(w.objectName(), w.saveGeometry()); });
    settings_->sync();
}

void ApplyInterfaceScaleAtStart(const QString& settingsFile) {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return;
    const int percent = UiSettings(settingsFile).InterfaceScalePercent();
    if (percent != 100) qputenv("QT_SCALE_FACTOR", QByteArray::number(percent / 100.0, 'g', 4));
}

bool AskInterfaceScale(QWidget* parent, UiSettings& settings) {
    QStringList items;
    int current = 0;
    for (size_t i = 0; i < InterfaceScalePercents.size(); ++i) {
        items.append(QStringLiteral("%1 %").arg(InterfaceScalePercents[i]));
        if (InterfaceScalePercents[i] == settings.InterfaceScalePercent())
            current = static_cast<int>(i);
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent, ScaleCaption, ScaleLabel, items, current, false, &ok);
    if (!ok) return false;
    settings.SetInterfaceScalePercent(
        InterfaceScalePercents[static_cast<size_t>(std::max<qsizetype>(0, items.indexOf(chosen)))]);
    return true;
}
