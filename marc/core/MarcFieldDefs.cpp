// Loading and answering the field definitions. Tags are looked up by binary search in per-format
// tables sorted by tag; the tables are filled once at start-up and never change afterwards.
#include "marc/core/MarcFieldDefs.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "common/basQKEnv.h"
#include "common/IniFile.h"

namespace {

constexpr std::array<const char*, 4> kPrefix{"BM_CN_", "BM_US_", "AU_CN_", "AU_US_"};
constexpr std::size_t kMaxFieldDefs = 301;
constexpr std::size_t kMaxFixFieldDefs = 21;

struct FormatDefs {
    std::vector<MarcFieldDef> fields;
    std::vector<std::string> fixTags;
};
std::array<FormatDefs, 4> g_defs;

IniFile settings(const std::string& name) {
    std::string local = g_strPath[7] + name;
    if (!g_strPath[7].empty() && std::filesystem::exists(local))
        if (auto f = IniFile::load(local)) return *f;
    return IniFile::parse(MarcDefaultCfgText(name));
}

// Section names of a definitions file: the tags 000-999 and HDR, in that order.
std::vector<std::string> tagsIn(const IniFile& ini, std::size_t limit) {
    std::vector<std::string> tags;
    for (int t = 0; t < 1000 && tags.size() < limit; ++t) {
        std::string tag = std::to_string(t);
        tag.insert(0, 3 - tag.size(), '0');
        if (ini.hasSection(tag)) tags.push_back(tag);
    }
    if (ini.hasSection("HDR") && tags.size() < limit) tags.insert(tags.begin(), "HDR");
    return tags;
}

const MarcFieldDef* findDef(const std::string& tag, int format) {
    const auto& v = g_defs.at(format).fields;
    auto it =
        std::lower_bound(v.begin(), v.end(), tag,
                         [](const MarcFieldDef& d, const std::string& t) { return d.Tag < t; });
    return it != v.end() && it->Tag == tag ? &*it : nullptr;
}

}  // namespace

std::string MarcDefaultCfgText(const std::string& name) {
    for (const auto& f : embeddedCfgFiles())
        if (name == f.name) return std::string(f.content);
    return "";
}

int LIB_LoadMarcFieldDefs() {
    static const std::string codes = "abcdefghijklmnopqrstuvwxyz0123456789";
    int rc = 0;
    for (std::size_t f = 0; f < kPrefix.size(); ++f) {
        FormatDefs defs;
        IniFile info = settings(std::string(kPrefix[f]) + "FieldInfo.ini");
        for (const std::string& tag : tagsIn(info, kMaxFieldDefs)) {
            MarcFieldDef d{tag, info.get(tag, "Name"), {}};
            for (char c : codes)
                if (std::string name = info.get(tag, std::string(1, c)); !name.empty())
                    d.Subfields.push_back({c, name});
            defs.fields.push_back(std::move(d));
        }
        std::sort(defs.fields.begin(), defs.fields.end(),
                  [](const MarcFieldDef& a, const MarcFieldDef& b) { return a.Tag < b.Tag; });
        defs.fixTags = tagsIn(settings(std::string(kPrefix[f]) + "FixField.ini"), kMaxFixFieldDefs);
        if (defs.fields.empty()) rc = -1;
        g_defs[f] = std::move(defs);
    }
    return rc;
}

const std::vector<MarcFieldDef>& MarcFieldDefs(int formatIndex) {
    return g_defs.at(static_cast<std::size_t>(std::clamp(formatIndex, 0, 3))).fields;
}

std::string GetMarcFieldName(const std::string& tag, const MarcRec& rec) {
    if (const MarcFieldDef* d = findDef(tag, MarcTypeIndex(rec))) return d->Name;
    return MarcTypeIndex(rec) % 2 == 0 ? "非Marc字段" : "*No Marc*";
}

std::string GetMarcSubfieldName(const std::string& tag, char code, const MarcRec& rec) {
    if (const MarcFieldDef* d = findDef(tag, MarcTypeIndex(rec)))
        for (const auto& s : d->Subfields)
            if (s.Code == code) return s.Name;
    return "";
}

bool HasFixFieldDef(const std::string& tag, const MarcRec& rec) {
    const auto& tags = g_defs.at(MarcTypeIndex(rec)).fixTags;
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}
