// Field and fixed-field definitions of the four formats (CNMARC and MARC 21, bibliographic and
// authority), read at start-up. Each format has two settings files:
//
//   CFG/BM/BaseParam/{BM,AU}_{CN,US}_FieldInfo.ini   one section per tag ("[200]"): Name= the
//                                                    field's name, then "a=..." per subfield
//   CFG/BM/BaseParam/{BM,AU}_{CN,US}_FixField.ini    one section per tag that has a positional
//                                                    editor ("[100]", "[HDR]"), Name= its title
//
// The defaults are built into the program (from config/CFG/); a file of the same name in the
// program tree replaces the built-in one, so a library can rename or add fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marc/core/basBMFunc.h"

// Files built into the program: the settings files above and the demonstration records.
struct EmbeddedCfg {
    const char* name;
    std::string_view content;
};
const std::vector<EmbeddedCfg>& embeddedCfgFiles();

struct MarcSubfieldDef {
    char Code = ' ';
    std::string Name;
};
struct MarcFieldDef {
    std::string Tag;
    std::string Name;
    std::vector<MarcSubfieldDef> Subfields;
};

// Start-up: loads the definitions of the four formats; 0, or -1 when a format has none.
int LIB_LoadMarcFieldDefs();
// The field definitions of a format index (MarcTypeIndex), in tag order.
const std::vector<MarcFieldDef>& MarcFieldDefs(int formatIndex);

std::string GetMarcFieldName(const std::string& tag, const MarcRec& rec);
std::string GetMarcSubfieldName(const std::string& tag, char code, const MarcRec& rec);
bool HasFixFieldDef(const std::string& tag, const MarcRec& rec);

// The built-in settings file of that name, for init-db to lay into a new program tree.
std::string MarcDefaultCfgText(const std::string& name);
