// Writes the seed inputs of the dialect fuzz target: every statement text the plug-in
// sends, built with ordinary values and with the awkward ones users type (quotes, comment
// marks, brackets, a long text, non-ASCII), plus the EXEC forms of the two stored
// procedures. scripts/fuzz.sh --seed runs it into fuzz/corpus/dialect/.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "sim/db/plugin_statements.h"

namespace {

std::string FileName(std::size_t n, const std::string& name) {
    std::string s = "seed-" + std::to_string(n) + "-";
    for (char c : name) s += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    std::vector<zq::sim::stmt::CatalogValues> sets(3);
    sets[0].numreg = "1001";
    sets[0].guid = "{00000000-0000-0000-0000-000000000001}";
    sets[0].codCausale = "CLI";
    sets[0].idFlusso = 1001;
    sets[0].idStato = 109;
    sets[1] = sets[0];
    sets[1].codCausale = "O'Brien -- /* [x] \"y\" */ ; DROP TABLE DO30_DOCCORPO";
    sets[1].numreg = "'1001','1002'";
    sets[2] = sets[0];
    sets[2].codCausale = std::string(10000, 'x') + "\xc3\xa8";
    std::size_t n = 0;
    for (const auto& v : sets)
        for (const auto& s : zq::sim::stmt::Catalog(v))
            std::ofstream(dir / FileName(++n, s.name), std::ios::binary) << s.text;
    const char* calls[] = {
        ("EXEC SPCO_SETFLUSSOSTATO @GUID='00000000-0000-0000-0000-000000000001', @CODSTATO=109, "
         "@CODFLUSSO=1001"),
        "EXECUTE SPMG_PROGMAG_DOC 1, '''1001''', 1, '#STORNA_PROGMAG';",
        "exec [SPCO_SETFLUSSOSTATO] @GUID=N'x', @CODSTATO=NULL, @CODFLUSSO=-1.5e3",
    };
    for (const char* c : calls) std::ofstream(dir / FileName(++n, "exec"), std::ios::binary) << c;
    std::cout << n << " seeds written to " << dir.string() << "\n";
    return 0;
}
