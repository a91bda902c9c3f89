// The statements that capture, on the server, the still-open quantities and values of an
// order's lines and lot rows into the reversal working sets. Each text is the
// concatenation of fixed fragments, every fragment with its own leading blanks, exactly as
// the warehouse progressive procedure of the host expects to find the working sets.
#pragma once

#include <string>
#include <string_view>

namespace zq::reversal {

// {tabella} = `tabella`, {ditta} = the company code text, {elenco} = the quoted
// registration numbers of the IN list, {decimali} = the price decimals.
std::string CatturaRigheStorno(std::string_view tabella, std::string_view ditta,
                               std::string_view elenco, std::string_view decimali);
std::string CatturaLottiStorno(std::string_view tabella, std::string_view ditta,
                               std::string_view elenco, std::string_view decimali);

std::string IndiceStornaProgMag(std::string_view tabella);
std::string IndiceStornaProgLotti(std::string_view tabella);

}  // namespace zq::reversal
