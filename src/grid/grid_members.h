// The host's size-grid component and its grid-posting component: their class ids and the
// member names the plug-in reaches them by.
//
// The plug-in creates both by class id and calls them late-bound. The order of the calls
// and the values passed belong to the size-grid command; the numbers in the comments are
// the places of the calls in it (docs/scenarios.md lists the components' behaviour).
#pragma once

#include <string_view>

namespace zq::plugin::grid {

// ---- class ids ----
inline constexpr std::string_view kClsidGriglia = "{2DEB5CA6-F021-47D9-8160-493068A93409}";
inline constexpr std::string_view kClsidRegistraGriglia = "{696BA8FD-BDF6-4487-9A64-8D1458183A9A}";

// ---- size-grid component ----
inline constexpr std::string_view kGrigliaDitta = "Ditta";                  // 1 write, 2 read
inline constexpr std::string_view kGrigliaProgramma = "Programma";          // 3 (object)
inline constexpr std::string_view kGrigliaConnessione = "Connessione";      // 4 (object)
inline constexpr std::string_view kGrigliaTipoDocumento = "TipoDocumento";  // 5; read for messages
inline constexpr std::string_view kGrigliaDocStandPers = "DocumentoStandPers";        // 6
inline constexpr std::string_view kGrigliaModalitaAnnulli = "ModalitaAnnulli";        // 7
inline constexpr std::string_view kGrigliaSoloRigheEsistenti = "SoloRigheEsistenti";  // 8
inline constexpr std::string_view kGrigliaBloccaArticolo = "BloccaArticolo";          // 9
inline constexpr std::string_view kGrigliaBloccaPrezzi = "BloccaPrezzi";              // 10
inline constexpr std::string_view kGrigliaProgPadre = "ProgPadre";                    // 11
inline constexpr std::string_view kGrigliaArticolo = "Articolo";                      // 12
inline constexpr std::string_view kGrigliaOpzione = "Opzione";                        // 13
inline constexpr std::string_view kGrigliaValuta = "Valuta";                          // 14
inline constexpr std::string_view kGrigliaCambio = "Cambio";                          // 15
inline constexpr std::string_view kGrigliaDataDocumento = "DataDocumento";            // 16
inline constexpr std::string_view kGrigliaDaDocumento = "DaDocumento";                // 17
// Dimension-1 grid-generation indicator equal to 2 (18) and to 1 (19).
inline constexpr std::string_view kGrigliaDim1GenGriglia2 = "Dim1GenGriglia2";
inline constexpr std::string_view kGrigliaDim1GenGriglia1 = "Dim1GenGriglia1";
inline constexpr std::string_view kGrigliaDim1Presente = "Dim1Presente";            // 20
inline constexpr std::string_view kGrigliaDim2Presente = "Dim2Presente";            // 21
inline constexpr std::string_view kGrigliaDim1Codice = "Dim1Codice";                // 22
inline constexpr std::string_view kGrigliaDim2Codice = "Dim2Codice";                // 23
inline constexpr std::string_view kGrigliaDim1Inizio = "Dim1Inizio";                // 24
inline constexpr std::string_view kGrigliaDim2Inizio = "Dim2Inizio";                // 25
inline constexpr std::string_view kGrigliaDim1Lunghezza = "Dim1Lunghezza";          // 26
inline constexpr std::string_view kGrigliaDim2Lunghezza = "Dim2Lunghezza";          // 27
inline constexpr std::string_view kGrigliaTipoCliFor = "TipoCliFor";                // 28
inline constexpr std::string_view kGrigliaArticoloCliFor = "ArticoloCliFor";        // 29
inline constexpr std::string_view kGrigliaCliFor = "CliFor";                        // 30
inline constexpr std::string_view kGrigliaCliForDest = "CliForDest";                // 31
inline constexpr std::string_view kGrigliaIndListinoAcqVen = "IndListinoAcqVen";    // 32
inline constexpr std::string_view kGrigliaIndListinoFisso = "IndListinoFisso";      // 33
inline constexpr std::string_view kGrigliaNumListinoFisso = "NumListinoFisso";      // 34
inline constexpr std::string_view kGrigliaListinoMagazzino = "ListinoMagazzino";    // 35
inline constexpr std::string_view kGrigliaDefaultPiede = "DefaultPiede";            // 36
inline constexpr std::string_view kGrigliaMostraStati = "MostraStati";              // 37
inline constexpr std::string_view kGrigliaChiamante = "Chiamante";                  // 38 (object)
inline constexpr std::string_view kGrigliaRegDoc = "RegDoc";                        // 39 (object)
inline constexpr std::string_view kGrigliaDataRegistrazione = "DataRegistrazione";  // 40
// 41, 42: methods without arguments; afterwards the data recordset has its structure.
inline constexpr std::string_view kGrigliaInizializza = "Inizializza";
inline constexpr std::string_view kGrigliaCreaStruttura = "CreaStruttura";
// 43 read, 44 write: the grid's data recordset.
inline constexpr std::string_view kGrigliaDati = "DatiGriglia";
inline constexpr std::string_view kGrigliaRigaCorrente = "RigaCorrente";  // 45
// 46: shows the grid modally over the owner window written (Empty: none); the user edits
// the cells before the write returns.
inline constexpr std::string_view kGrigliaMostra = "Mostra";
// Method (recordset by reference, field name) answering whether the recordset has the field.
inline constexpr std::string_view kGrigliaEsisteCampo = "EsisteCampo";
// Unloads the window and the data before the component is dropped.
inline constexpr std::string_view kGrigliaUnload = "Unload";

// ---- posting component: the three references it is given for one run ----
inline constexpr std::string_view kRegistraGriglia = "Griglia";
inline constexpr std::string_view kRegistraConnessione = "Connessione";
inline constexpr std::string_view kRegistraProgramma = "Programma";
// Run method (a, b, text, result), all by reference; the result is True when the grid's
// changes were applied to the document.
inline constexpr std::string_view kRegistraEsegui = "Registra";

}  // namespace zq::plugin::grid
