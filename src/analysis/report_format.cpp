// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/report_format.h"

#include "analysis/dimension_names.h"
#include "model/dimensions.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kes {

namespace {

// The eleven fields of a port, in the order of the JSON and the CSV.
constexpr std::array<const char*, 11> PortFields = {"lead",
                                                    "admission_pct",
                                                    "admission_deg",
                                                    "cutoff_pct",
                                                    "cutoff_deg",
                                                    "release_pct",
                                                    "release_deg",
                                                    "compression_pct",
                                                    "compression_deg",
                                                    "max_steam_opening",
                                                    "max_exhaust_opening"};
constexpr std::array<ColumnKind, 11> PortKinds = {
    ColumnKind::Length,  ColumnKind::Percent, ColumnKind::Degrees, ColumnKind::Percent,
    ColumnKind::Degrees, ColumnKind::Percent, ColumnKind::Degrees, ColumnKind::Percent,
    ColumnKind::Degrees, ColumnKind::Length,  ColumnKind::Length};

std::optional<double> PortField(const PortEventSet& p, size_t field) {
    switch (field) {
    case 0:
        return p.Lead;
    case 9:
        return p.MaxSteamOpening;
    case 10:
        return p.MaxExhaustOpening;
    default:
        break;
    }
    const auto kind = static_cast<EventKind>((field - 1) / 2);
    return (field - 1) % 2 == 0 ? p.Pct(kind) : p.Deg(kind);
}

// Columns before the ports, the ports, and the differences after them.
constexpr size_t LeadingColumns = 6;
constexpr size_t DiffColumns = 4;
constexpr size_t ColumnCount = LeadingColumns + 2 * PortFields.size() + DiffColumns;

constexpr std::array<ReportColumn, ColumnCount> MakeColumns() {
    std::array<ReportColumn, ColumnCount> c{};
    c[0] = {"mid_gear", ColumnKind::Setting};
    c[1] = {"setting", ColumnKind::Setting};
    c[2] = {"offset", ColumnKind::Setting};
    c[3] = {"direction", ColumnKind::Text};
    c[4] = {"closes", ColumnKind::Flag};
    c[5] = {"valve_travel", ColumnKind::Length};
    constexpr std::array<const char*, 11> front = {"front_lead",
                                                   "front_admission_pct",
                                                   "front_admission_deg",
                                                   "front_cutoff_pct",
                                                   "front_cutoff_deg",
                                                   "front_release_pct",
                                                   "front_release_deg",
                                                   "front_compression_pct",
                                                   "front_compression_deg",
                                                   "front_max_steam_opening",
                                                   "front_max_exhaust_opening"};
    constexpr std::array<const char*, 11> rear = {"rear_lead",
                                                  "rear_admission_pct",
                                                  "rear_admission_deg",
                                                  "rear_cutoff_pct",
                                                  "rear_cutoff_deg",
                                                  "rear_release_pct",
                                                  "rear_release_deg",
                                                  "rear_compression_pct",
                                                  "rear_compression_deg",
                                                  "rear_max_steam_opening",
                                                  "rear_max_exhaust_opening"};
    for (size_t i = 0; i < PortFields.size(); ++i) {
        c[LeadingColumns + i] = {front[i], PortKinds[i]};
        c[LeadingColumns + PortFields.size() + i] = {rear[i], PortKinds[i]};
    }
    const size_t d = LeadingColumns + 2 * PortFields.size();
    c[d] = {"cutoff_diff", ColumnKind::Percent};
    c[d + 1] = {"release_diff", ColumnKind::Percent};
    c[d + 2] = {"compression_diff", ColumnKind::Percent};
    c[d + 3] = {"lead_diff", ColumnKind::Length};
    return c;
}
constexpr std::array<ReportColumn, ColumnCount> Columns = MakeColumns();

class Json {
  public:
    void Key(const char* k) {
        Comma();
        text_ += '"';
        text_ += k;
        text_ += "\": ";
        pending_ = false;
    }
    void Number(std::optional<double> v) { Value(JsonNumber(v)); }
    void String(std::string_view s) {
        Comma();
        text_ += '"';
        for (char c : s) {
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                constexpr char hex[] = "0123456789abcdef";
                text_ += "\\u00";
                text_ += hex[(c >> 4) & 0xF];
                text_ += hex[c & 0xF];
            } else {
                text_ += c;
            }
        }
        text_ += '"';
        pending_ = true;
    }
    void Bool(bool b) { Value(b ? "true" : "false"); }
    void Open(char brace) {
        Comma();
        text_ += brace;
        pending_ = false;
    }
    void Close(char brace) {
        text_ += brace;
        pending_ = true;
    }
    std::string Take() { return std::move(text_); }

  private:
    void Value(std::string_view v) {
        Comma();
        text_ += v;
        pending_ = true;
    }
    // A value follows a value: separate them (a key has cleared the flag).
    void Comma() {
        if (pending_) text_ += ", ";
        pending_ = false;
    }
    std::string text_;
    bool pending_ = false;
};

void PortJson(Json& j, const PortEventSet& p) {
    j.Open('{');
    for (size_t f = 0; f < PortFields.size(); ++f) {
        j.Key(PortFields[f]);
        j.Number(PortField(p, f));
    }
    j.Close('}');
}

void CutOffSideJson(Json& j, const CutOffSide& s) {
    j.Open('{');
    j.Key("front");
    j.Number(s.Front);
    j.Key("rear");
    j.Number(s.Rear);
    j.Key("mean");
    j.Number(s.Mean);
    j.Close('}');
}

void Line(std::string& out, std::initializer_list<std::string> cells, char sep) {
    bool first = true;
    for (const std::string& c : cells) {
        if (!first) out += sep;
        out += c;
        first = false;
    }
    out += '\n';
}

} // namespace

std::string JsonNumber(std::optional<double> v) {
    if (!v || !std::isfinite(*v)) return "null";
    const double x = *v == 0.0 ? 0.0 : *v;
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x);
    return std::string(buffer.data(), result.ptr);
}

std::string CsvNumber(std::optional<double> v) {
    if (!v || !std::isfinite(*v)) return {};
    return JsonNumber(v);
}

std::string CsvText(std::string_view text) {
    if (text.find_first_of(",\"\t\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string ReportJson(const EventsReport& r) {
    Json j;
    j.Open('{');
    j.Key("mid_gear");
    j.Number(r.MidGear);
    j.Key("rows");
    j.Open('[');
    for (const ReportRow& row : r.Rows) {
        j.Open('{');
        j.Key("setting");
        j.Number(row.Setting);
        j.Key("offset");
        j.Number(row.Offset);
        j.Key("direction");
        j.String(RunDirectionText(row.Direction));
        j.Key("closes");
        j.Bool(row.Closes());
        j.Key("valve_travel");
        j.Number(row.Events.ValveTravel);
        j.Key("front");
        PortJson(j, row.Events.Front);
        j.Key("rear");
        PortJson(j, row.Events.Rear);
        j.Close('}');
    }
    j.Close(']');
    if (r.CutOffs) {
        j.Key("cutoff_settings");
        j.Open('{');
        j.Key("wanted_pct");
        j.Number(r.CutOffs->WantedPct);
        j.Key("forward");
        CutOffSideJson(j, r.CutOffs->Forward);
        j.Key("reverse");
        CutOffSideJson(j, r.CutOffs->Reverse);
        j.Close('}');
    }
    j.Close('}');
    return j.Take() + '\n';
}

std::span<const ReportColumn> ReportColumns() {
    return Columns;
}

std::optional<double> ReportCellNumber(const EventsReport& r, const ReportRow& row, size_t column) {
    constexpr size_t port = PortFields.size();
    constexpr size_t diffs = LeadingColumns + 2 * port;
    switch (column) {
    case 0:
        return r.MidGear;
    case 1:
        return row.Setting;
    case 2:
        return row.Offset;
    case 3:
    case 4:
        return std::nullopt;
    case 5:
        return row.Events.ValveTravel;
    default:
        break;
    }
    if (column < LeadingColumns + port) return PortField(row.Events.Front, column - LeadingColumns);
    if (column < diffs) return PortField(row.Events.Rear, column - LeadingColumns - port);
    switch (column - diffs) {
    case 0:
        return row.CutOffDiff;
    case 1:
        return row.ReleaseDiff;
    case 2:
        return row.CompressionDiff;
    case 3:
        return row.LeadDiff;
    default:
        return std::nullopt;
    }
}

std::string ReportCellText(const EventsReport& r, const ReportRow& row, size_t column) {
    if (column == 3) return RunDirectionText(row.Direction);
    if (column == 4) return row.Closes() ? "true" : "false";
    return CsvNumber(ReportCellNumber(r, row, column));
}

std::string ReportCsv(const EventsReport& r, char sep) {
    std::string out;
    for (size_t c = 0; c < Columns.size(); ++c) {
        if (c) out += sep;
        out += Columns[c].Name;
    }
    out += '\n';
    for (const ReportRow& row : r.Rows) {
        for (size_t c = 0; c < Columns.size(); ++c) {
            if (c) out += sep;
            out += ReportCellText(r, row, c);
        }
        out += '\n';
    }
    if (r.CutOffs) {
        out += '\n';
        Line(out,
             {"wanted_cutoff_pct", "direction", "front_setting", "rear_setting", "mean_setting"},
             sep);
        for (const auto& [dir, side] :
             {std::pair{"F", &r.CutOffs->Forward}, std::pair{"R", &r.CutOffs->Reverse}})
            Line(out,
                 {CsvNumber(r.CutOffs->WantedPct), dir, CsvNumber(side->Front),
                  CsvNumber(side->Rear), CsvNumber(side->Mean)},
                 sep);
    }
    return out;
}

std::string ChecksText(const DesignChecks& c) {
    std::string out;
    for (const CheckLine& l : c.Lines)
        out += std::string(CheckLevelText(l.Level)) + ' ' + l.Topic + ": " + l.Text + '\n';
    return out;
}

std::string ChecksCsv(const DesignChecks& c, char sep) {
    std::string out;
    Line(out, {"level", "topic", "text"}, sep);
    for (const CheckLine& l : c.Lines)
        Line(out, {CheckLevelText(l.Level), CsvText(l.Topic), CsvText(l.Text)}, sep);
    return out;
}

std::string ChecksJson(const DesignChecks& c) {
    int failures = 0, warnings = 0;
    for (const CheckLine& l : c.Lines) {
        failures += l.Level == CheckLevel::Failure;
        warnings += l.Level == CheckLevel::Warning;
    }
    Json j;
    j.Open('{');
    j.Key("failures");
    j.Number(failures);
    j.Key("warnings");
    j.Number(warnings);
    j.Key("lines");
    j.Open('[');
    for (const CheckLine& l : c.Lines) {
        j.Open('{');
        j.Key("level");
        j.String(CheckLevelText(l.Level));
        j.Key("topic");
        j.String(l.Topic);
        j.Key("text");
        j.String(l.Text);
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
    return j.Take() + '\n';
}

namespace {
bool StepCloses(const SensitivityTable& t, size_t i) {
    return i >= t.StepCloses.size() || t.StepCloses[i] != 0;
}
} // namespace

std::string SensitivityCsv(const SensitivityTable& t, char sep) {
    std::string out;
    out += "id,name,display_name,setting,offset,direction";
    for (const char* port : {"front", "rear"})
        for (int q = 0; q < SensQuantityCount; ++q)
            out += std::string(",") + port + '_' +
                   SensitivityQuantityName(static_cast<SensitivityQuantity>(q));
    out += ",step_closes\n";
    if (sep != ',')
        for (char& ch : out)
            if (ch == ',') ch = sep;
    for (size_t i = 0; i < t.Ids.size(); ++i) {
        for (size_t r = 0; r < t.Rows.size(); ++r) {
            const SensitivityRowKey& key = t.Rows[r];
            std::string line = std::to_string(t.Ids[i]);
            for (const std::string& cell :
                 {CsvText(DimensionCodeName(t.Ids[i])), CsvText(DimensionName(t.Ids[i])),
                  CsvNumber(key.Setting), CsvNumber(key.Offset),
                  std::string(RunDirectionText(key.Direction))})
                line += sep + cell;
            const SensitivityCell& cell = t.At(i, r);
            for (int port = 0; port < 2; ++port)
                for (int q = 0; q < SensQuantityCount; ++q)
                    line += sep + CsvNumber(cell[port][q]);
            out += line + sep + (StepCloses(t, i) ? "true" : "false") + '\n';
        }
    }
    return out;
}

std::string SensitivityJson(const SensitivityTable& t) {
    Json j;
    j.Open('{');
    j.Key("step");
    j.Number(SensitivityStep);
    j.Key("rows");
    j.Open('[');
    for (size_t i = 0; i < t.Ids.size(); ++i) {
        for (size_t r = 0; r < t.Rows.size(); ++r) {
            const SensitivityRowKey& key = t.Rows[r];
            j.Open('{');
            j.Key("id");
            j.Number(t.Ids[i]);
            j.Key("name");
            j.String(DimensionCodeName(t.Ids[i]));
            j.Key("display_name");
            j.String(DimensionName(t.Ids[i]));
            j.Key("setting");
            j.Number(key.Setting);
            j.Key("offset");
            j.Number(key.Offset);
            j.Key("direction");
            j.String(RunDirectionText(key.Direction));
            j.Key("step_closes");
            j.Bool(StepCloses(t, i));
            const SensitivityCell& cell = t.At(i, r);
            for (int port = 0; port < 2; ++port) {
                j.Key(port == 0 ? "front" : "rear");
                j.Open('{');
                for (int q = 0; q < SensQuantityCount; ++q) {
                    j.Key(SensitivityQuantityName(static_cast<SensitivityQuantity>(q)));
                    j.Number(cell[port][q]);
                }
                j.Close('}');
            }
            j.Close('}');
        }
    }
    j.Close(']');
    j.Close('}');
    return j.Take() + '\n';
}

} // namespace kes
