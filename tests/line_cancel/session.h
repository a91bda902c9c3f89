// A document-registration session on an order of the host database, driven as a user
// drives it, with the reads the line-cancellation tests need: the rows of a line as the
// database holds them, its flow state, the progressives and the plug-in's own fields.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/clsrf_regdoc_stati.h"
#include "sim/db/fixture.h"
#include "sim/db/progressives.h"
#include "sim/db/sqlite_connection.h"
#include "sim/host/driver.h"
#include "sim/host/sim_host.h"

namespace zq::plugin {

// The plug-in's fields and procedures that no host road shows directly.
struct ClsrfTestAccess {
    static CLSRF_REGDOC_STATI& Of(const sim::HostDriver& d);
    static bool CreaAnnulloInCorso(const sim::HostDriver& d);
    static bool RipristinoInCorso(const sim::HostDriver& d);
    static bool ConfermaInCorso(const sim::HostDriver& d);
    static void SetCreaAnnulloInCorso(const sim::HostDriver& d, bool on);
    static void SetGrigliaInCorso(const sim::HostDriver& d, bool on);
    static std::vector<DO77> Links(const sim::HostDriver& d);
    static std::string GuidRigaCancellata(const sim::HostDriver& d);
    static std::int32_t ProgRigaCancellata(const sim::HostDriver& d);
    static std::int32_t ProgPadreAnnulli(const sim::HostDriver& d);
    struct UltimoAnnullo {
        std::string guid;
        std::int32_t progRiga, progPadre, stato;
    };
    static UltimoAnnullo Ultimo(const sim::HostDriver& d);
    struct Esito {
        bool ok;
        double qtaRipristino;
    };
    static std::int32_t GetMaxDO30_PROGRIGA(CLSRF_REGDOC_STATI& p, const ado::RecordsetPtr& rs);
    static std::int32_t GetMaxDO30_PROGPADRE(CLSRF_REGDOC_STATI& p, const ado::RecordsetPtr& rs);
    static void AddLinkAnnullo(CLSRF_REGDOC_STATI& p, const std::string& detail,
                               const std::string& master, std::int32_t progPadre);
    // DuplicaRigaCorpoGrid on the current line, as the size-grid write-back calls it.
    static Esito DuplicaRigaCorpoGrid(const sim::HostDriver& d, double qtaOrdine, double qtaAnnullo,
                                      const std::string& guidMaster, bool aggiornaGriglia);
    // CreaAnnulloParziale on the current line, as the line cancellation calls it.
    static Esito CreaAnnulloParziale(const sim::HostDriver& d, double qtaOrdine, double qtaAnnullo,
                                     const std::string& guidMaster);
};

}  // namespace zq::plugin

namespace zq::test {

inline constexpr std::int32_t kDitta = 1;
inline constexpr std::int32_t kOrdine = 3001;
inline constexpr std::int32_t kFlussoRighe = 1001, kFlussoTesta = 1000;
inline constexpr std::int32_t kStatoIniziale = 100, kStatoConfermato = 101, kStatoAnnullato = 109;
inline constexpr std::int32_t kStatoTestaIniziale = 200, kStatoTestaAnnullato = 209;
inline constexpr char kTitolo[] = "Stato documento";

// The order every test starts from: seven lines, no group numbers, line 2 partly delivered.
//   1 ART-A 10 x 5   2 ART-B 20 x 2.5 (8 delivered)   3 ART-C 6 x 4   4 ART-D 4 x 10
//   5 ART-E 5 x 2    6 ART-F 5 x 3                    7 ART-G 5 x 1
struct OrderOptions {
    bool defaultReason = true;  // "CLI" is the default cancellation reason
    std::int16_t gridMode = 0;
    bool lotRow = false;  // line 6 carries one lot row of its whole quantity
};

// One line as the database holds it after the save (DO30 joined with its DO31 and DO77).
struct DbLine {
    bool exists = false;
    std::map<std::string, Variant> col;
    bool hasDo31 = false, hasDo77 = false;
    const Variant& operator[](const std::string& name) const;
    double Num(const std::string& name) const;        // Null reads as 0
    std::string Text(const std::string& name) const;  // Null reads as ""
    bool IsNull(const std::string& name) const;
};

// Makes the next call of a host member (by its log name, e.g. "gclsRegDoc.AggiungiRigaCorpo")
// or the next statement containing a text fail, counting from the moment it is armed.
struct Fault {
    std::string member;  // a host member, or
    std::string sqlContains;
    int occurrence = 1;  // the n-th matching call fails
};

class Session {
  public:
    explicit Session(OrderOptions options = {});
    ~Session();

    sim::HostDriver& driver() { return *driver_; }
    sim::SimHost& host() { return *host_; }
    sim::SqliteConnection& db() { return *conn_; }
    plugin::CLSRF_REGDOC_STATI& plugin() { return plugin::ClsrfTestAccess::Of(*driver_); }

    // The user clicks a line in the body grid.
    void Enter(std::int32_t progRiga) { driver_->MoveToLine(progRiga); }
    void SetState(std::int32_t stato) { driver_->SetLineState(stato); }
    // The user puts the order header into the cancelled state.
    void CancelWholeOrder();
    // Types a cancelled quantity and gives the current line the cancelled state.
    void CancelQuantity(double qta);

    DbLine Line(std::int32_t progRiga);
    std::vector<std::int32_t> LineNumbers();  // DO30 lines in the database, in order
    std::optional<std::int32_t> FlowState(const std::string& guid);
    // The line's row of a section of the document in memory (null: no row).
    Variant Current(std::string_view field);
    std::string Braced(std::int32_t progRiga);  // DO30_GUID as the database holds it

    std::vector<sim::ShownMessage> TakeMessages();
    std::int16_t Indicatore();
    std::vector<sim::ProgressiveDrift> Drift() { return sim::CompareProgressives(*conn_); }

    void Arm(Fault fault);
    bool FaultFired() const;

  private:
    struct Faults;
    std::shared_ptr<sim::SqliteConnection> conn_;
    std::shared_ptr<Faults> faults_;
    std::unique_ptr<sim::SimHost> host_;
    std::unique_ptr<sim::HostDriver> driver_;
};

// "{ABC}" -> "ABC".
std::string Unbraced(const std::string& guid);

}  // namespace zq::test
