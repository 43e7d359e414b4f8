# Writes OUTPUT: a C++ source that holds the given SQL files (FILES, ";"-separated, paths
# relative to ROOT) so that serialsctl can create a database wherever it is installed.
file(WRITE ${OUTPUT}.tmp "// Generated from db/schema, db/seed and db/demo; do not edit.\n")
file(APPEND ${OUTPUT}.tmp "#include \"db/SchemaInstaller.h\"\n\n")
file(APPEND ${OUTPUT}.tmp "const std::vector<EmbeddedSql>& embeddedSqlFiles() {\n")
file(APPEND ${OUTPUT}.tmp "    static const std::vector<EmbeddedSql> files{\n")
foreach(f IN LISTS FILES)
    file(READ ${ROOT}/${f} content)
    file(APPEND ${OUTPUT}.tmp "        {\"${f}\", R\"SQLEMBED(${content})SQLEMBED\"},\n")
endforeach()
file(APPEND ${OUTPUT}.tmp "    };\n    return files;\n}\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
