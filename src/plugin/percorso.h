// A user road: one action of the user that changes the order (a header or line state
// picked, a line deleted or stored). It completes, or it leaves the order as it was.
//
// Before a road changes anything the plug-in takes a snapshot of what it may change
// through the host's objects: every section of the document (rows, the values the
// database holds for them, their pending changes, where each recordset stands), the
// cancellation controls (Text, Enabled, Visible), the busy indicator and its own fields;
// for a line road also the state the line had before the user picked a new one. The road
// then runs under a FailureWatch: a call that fails is noted, and the road's later
// statements under IgnoreErrors / EndQuietly are passed over.
//
// At its end a road that noted a failure, or that was refused with a message, is undone:
// the sections are put back in memory and in the database (section_image.h); when the road
// had already posted to the warehouse progressives (the reversal procedure ran, or the host
// saved) the order's open quantities are captured before the database is put back and
// reversed after it, so that the progressives come back with it; the line goes back to the
// state it had, the grid to the line it stood on, the controls, the busy indicator and the
// plug-in's fields to what they held. A road undone because a call failed tells the user
// once, in a message box, that the change was not made; a refused road has already said why.
//
// While a road runs, events the host raises inside it are part of it. While its undo runs,
// the events the host raises for the undo's own moves are ignored.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/section_image.h"
#include "host/object.h"
#include "host/policy.h"
#include "host/types.h"
#include "host/variant.h"
#include "plugin/do77.h"

namespace zq::plugin {

class CLSRF_REGDOC_STATI;

// The plug-in's own state that a road may change.
struct CampiPercorso {
    std::int32_t lngStatoTesta = 0, lngFlussoTesta = 0, lngUltimoStatoTesta = 0;
    std::int32_t lngStatoRigaCorrente = 0, lngStatoRigaPrecedente = 0, lngFlussoDoc = 0,
                 lngStatoInizialeRighe = 0;
    VBool blnStornoPronto = VFalse;
    std::string strGuidRigaCorrente;
    std::int32_t lngProgRigaCorrente = 0, lngProgPadreCorrente = 0;
    std::string strDesCausaleTestaPrec;
    std::int16_t intAttesaSalvata = 0;
    VBool blnRigaDaConfermare = VFalse;
    std::optional<LinkAnnulli> colLinkAnnulli;  // nullopt: not created yet
    std::int32_t lngProgPadreAnnulli = 0;
    std::string strGuidUltimoAnnullo;
    std::int32_t lngProgRigaUltimoAnnullo = 0, lngProgPadreUltimoAnnullo = 0;
    std::int32_t lngStatoUltimoAnnullo = 0;
    Variant strGuidRigaCancellata;
    std::int32_t lngProgRigaCancellata = 0;
    std::map<std::string, std::int32_t> statiRigaScritti;
    // The busy flags: clear when a road starts, and clear again when it is undone.
    VBool blnDecodeCausaleTesta = VFalse, blnPropagaInCorso = VFalse, blnApplicaInCorso = VFalse,
          blnCambioStatoTesta = VFalse, blnConfermaInCorso = VFalse, blnCreaAnnulloInCorso = VFalse,
          blnRipristinoInCorso = VFalse;
};

struct SezionePercorso {
    ado::RecordsetPtr rst;
    SectionImage immagine;
    bool ripristinaStato = true;  // false: the image already holds the saved header state
};

// The header state the order was saved with, and where the host shows it.
struct StatoTestataSalvato {
    ObjectPtr ctl;
    std::string campo;
    Variant salvato;
};

struct ControlloPercorso {
    ObjectPtr ctl;
    Variant testo, abilitato, visibile;  // Empty: not read (the control lacks the member)
};

// A state the user picked on a line before the road began, and the one the line had.
struct StatoPrecedente {
    std::string guid;
    std::int32_t stato = 0;
    std::int32_t flusso = 0;
};

struct Percorso {
    FailureWatch watch;
    CampiPercorso campi;
    std::vector<SezionePercorso> sezioni;
    std::vector<ControlloPercorso> controlli;
    std::optional<std::int16_t> indicatore;
    std::optional<StatoPrecedente> statoRiga;
    // Further lines whose state the road may set, with the state each had (the size grid's
    // family).
    std::vector<StatoPrecedente> statiRighe;
    bool pickTestata = false;  // the user picked a header state: the undo takes it back
    std::optional<StatoTestataSalvato> statoTestata;
    bool fotografato = false;  // the document's snapshot was taken
    bool rifiutato = false;    // refused with a message: undone without a further message
    bool registrato = false;   // the progressives were posted (reversal or the host's save)
    // Kept open while the host carries out its part of the action (it has begun deleting
    // the line): the events it raises until the road's next step belong to the road.
    bool accoglie = false;
    bool avvisato = false;  // the failure was already shown to the user in its own box
    // The control whose lost focus began the road: the user's typing in it is the road's own
    // start, and an undo takes back a line quantity typed on a line of a pair.
    ObjectPtr lasciato;
};

// One road carried out inside one host event. Opens a road, unless one already runs (an
// event the host raises inside a road is part of that road), or takes over a road kept
// open across events; concludes it when the scope ends, undoing it when it failed. A
// report the host raises while a road is kept open for the host's own part of the action
// (Trattieni(true)) joins that road: its failures are the road's, and the road stays open.
class PercorsoUtente {
  public:
    // A new road; `campi` is what the plug-in's fields held when the event began. With
    // `fotografa` false the document's snapshot waits for Fotografa(): until then the road
    // has changed nothing but the plug-in's fields, and its undo takes back only them and
    // the state the user picked. `notifica`: the event may be the host's report of its own
    // part of an action (the grid landing after a deletion); it joins a road kept open for
    // that part. Any other event concludes a road kept open before it begins its own.
    PercorsoUtente(CLSRF_REGDOC_STATI& plugin, const CampiPercorso& campi, bool fotografa = true,
                   bool notifica = false);
    // The road kept open by an earlier event (null: none, this scope does nothing).
    PercorsoUtente(CLSRF_REGDOC_STATI& plugin, std::unique_ptr<Percorso> ripreso);
    ~PercorsoUtente();
    PercorsoUtente(const PercorsoUtente&) = delete;
    PercorsoUtente& operator=(const PercorsoUtente&) = delete;

    // Whether this scope carries a road of its own (false inside another road).
    bool Attivo() const { return percorso_ != nullptr; }
    // Whether the road this scope carries or joined has failed.
    bool Fallito() const;
    // The road goes on in a later event of the host (the deletion of a line): when the
    // scope ends it is kept open instead of concluded, a failure that leaves the event
    // noted on it. With `accogli` the events the host raises before that later event join
    // the road; without, the next event concludes it (the host did not go on).
    void Trattieni(bool accogli = false) {
        trattieni_ = true;
        accogli_ = accogli;
    }
    // Concludes now: undone when it failed or was refused. Returns whether it completed.
    bool Concludi();
    // Takes the document's snapshot now, unless it was taken (the road begins changing it).
    void Fotografa();

  private:
    CLSRF_REGDOC_STATI& plugin_;
    std::unique_ptr<Percorso> percorso_;
    Percorso* unito_ = nullptr;  // the road kept open that this event joined
    std::optional<FailureWatch::Install> install_;
    int eccezioni_;  // exceptions already in flight when the scope began
    bool trattieni_ = false, accogli_ = false;
};

}  // namespace zq::plugin
