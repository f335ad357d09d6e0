#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YDiagnosticTrace.h>

namespace {

ConnectConfigPtr CloneOf(const ConnectConfigPtr& config) {
    return config ? config->Clone() : nullptr;
}

// The first protocol the table offers on side, or the one named name (letter case ignored);
// nullptr when there is none.
const ConnectProtocolEntry* FindOnSide(SessionProtocolSlot::Side side,
                                       const YUnicodeString* name = nullptr) {
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    if (name != nullptr) {
        // Every session loaded names its protocols: the table's own search by name takes its
        // lock once. Only when the first protocol of that name serves the other side (a
        // sibling product's) do the entries have to be walked one by one.
        const ConnectProtocolEntry* named = table.Find(*name);
        if (named == nullptr) {
            return nullptr;
        }
        if (SessionProtocolSlot::Suits(side, named->product)) {
            return named;
        }
    }
    // Entries are only added while modules load, so the count taken once serves the whole
    // search; asking again on every step would take the table's lock twice per entry.
    const std::size_t count = table.GetCount();
    for (std::size_t i = 0; i < count; ++i) {
        const ConnectProtocolEntry& entry = table.GetEntry(i);
        if (SessionProtocolSlot::Suits(side, entry.product) &&
            (name == nullptr || rivode::EqualsNoCase(entry.name, *name))) {
            return &entry;
        }
    }
    return nullptr;
}

// The name of side's protocol-name value, which every load sets again: looked up once per
// process rather than under the name table's lock on every load.
YLastingName LastingNameOf(SessionProtocolSlot::Side side) {
    static const YLastingName terminal(u"Protocol Name");
    static const YLastingName transfer(u"Transfer Protocol Name");
    return side == SessionProtocolSlot::Side::Terminal ? terminal : transfer;
}

ConnectConfigPtr ConfigOf(const ConnectProtocolEntry* entry) {
    return entry != nullptr ? ConnectConfigPtr::Adopt(entry->functions.createConfig(*entry))
                            : nullptr;
}

ConnectConfigPtr CreateConfig(SessionProtocolSlot::Side side, const YUnicodeString& name) {
    return ConfigOf(FindOnSide(side, &name));
}

}  // namespace

SessionProtocolSlot::SessionProtocolSlot(Side side)
    : name_(LastingNameOf(side).GetText(), u""), side_(side) {}

SessionProtocolSlot::SessionProtocolSlot(const SessionProtocolSlot& other)
    : name_(other.name_),
      config_(CloneOf(other.config_)),
      loadedConfig_(other.loadedConfig_.get() == other.config_.get()
                        ? config_
                        : CloneOf(other.loadedConfig_)),
      trace_(other.trace_ ? std::make_unique<YReportMessageParams>(*other.trace_) : nullptr),
      side_(other.side_),
      unknown_(other.unknown_),
      storedEmpty_(other.storedEmpty_) {}

const YReportMessageParams& SessionProtocolSlot::GetLoadTrace() const {
    static const YReportMessageParams nothing;
    return trace_ ? *trace_ : nothing;
}

bool SessionProtocolSlot::Suits(Side side, int kind) {
    if (side == Side::Transfer) {
        return kind == 6 || kind == 9;
    }
    return kind == 1 || kind == 3 || kind == 8;
}

void SessionProtocolSlot::Load(const YProfileKey* key) {
    trace_.reset();
    const bool found = name_.Init(key, LastingNameOf(side_), u"");
    const YUnicodeString stored = name_.Get();
    storedEmpty_ = found && stored.empty();
    unknown_ = false;
    YUnicodeString chosen = stored;
    // The table is searched once for the stored name and once more only for a fallback:
    // every session opened passes here twice.
    const ConnectProtocolEntry* entry = FindOnSide(side_, &chosen);
    if (entry == nullptr && !rivode::EqualsNoCase(chosen, kNoProtocolName)) {
        chosen.clear();
        if (!stored.empty()) {
            unknown_ = true;
            trace_ = std::make_unique<YReportMessageParams>();
            trace_->SetMessage(rivode::msg::UnknownProtocolUsingDefault);
            trace_->AddString(rivode::ToUtf8(stored));
            TraceDiagnostic(*trace_);
        }
    }
    if (chosen.empty()) {
        entry = FindOnSide(side_);
        if (entry != nullptr) {
            chosen = entry->name;
        }
    }
    // A name settled here counts as loaded and is written on the next save.
    if (chosen != stored) {
        name_.Init(nullptr, LastingNameOf(side_), chosen);
    }
    config_ = ConfigOf(entry);
    if (config_) {
        config_->Load(key);
    }
    loadedConfig_ = config_;
}

void SessionProtocolSlot::SetName(const YUnicodeString& name) {
    if (config_ && rivode::EqualsNoCase(name, name_.Get())) {
        return;
    }
    name_ = name;
    config_ = CreateConfig(side_, name);
}

void SessionProtocolSlot::LoadNone() {
    name_.Init(nullptr, LastingNameOf(side_), YUnicodeString(kNoProtocolName));
    config_ = nullptr;
    loadedConfig_ = nullptr;
}

bool SessionProtocolSlot::HasProtocol() const {
    return config_ && !rivode::EqualsNoCase(name_.Get(), kNoProtocolName);
}

bool SessionProtocolSlot::Save(const YProfileKey& key) {
    bool saved = name_.Save(key);
    if (config_) {
        saved = config_->Save(key) && saved;
    }
    loadedConfig_ = config_;
    return saved;
}

bool SessionProtocolSlot::IsChanged() const {
    return name_.IsChanged() || config_.get() != loadedConfig_.get() ||
           (config_ && config_->IsChanged());
}

void SessionProtocolSlot::CommitAll() {
    name_.CommitAll();
    if (config_) {
        config_->CommitAll();
    }
    loadedConfig_ = config_;
}

void SessionProtocolSlot::RevertAll() {
    name_.RevertAll();
    config_ = loadedConfig_;
    if (config_) {
        config_->RevertAll();
    }
}

void SessionProtocolSlot::CopyFrom(const SessionProtocolSlot& source, bool changesOnly) {
    if (&source == this) {
        return;
    }
    const bool protocolChanged =
        source.name_.IsChanged() || source.config_.get() != source.loadedConfig_.get();
    const bool sameProtocol = rivode::EqualsNoCase(source.name_.Get(), name_.Get());
    if (changesOnly ? protocolChanged : !sameProtocol) {
        name_.CopyFrom(source.name_);
        config_ = CloneOf(source.config_);
        return;
    }
    if (!changesOnly) {
        name_.CopyFrom(source.name_);
    }
    if (config_ && source.config_) {
        if (changesOnly) {
            config_->CopyChangesFrom(*source.config_);
        } else {
            config_->CopyFrom(*source.config_);
        }
    }
}

void SessionProtocolSlot::CopyConfigChangesFrom(const SessionProtocolSlot& source) {
    if (&source != this && config_ && source.config_ &&
        rivode::EqualsNoCase(source.name_.Get(), name_.Get())) {
        config_->CopyChangesFrom(*source.config_);
    }
}

void SessionProtocolSlot::AssignFrom(const SessionProtocolSlot& source) {
    if (&source == this) {
        return;
    }
    SessionProtocolSlot copy(source);
    // A typed value copies only its current value: commit source's loaded name first, then
    // take its current one.
    name_ = YUnicodeString(copy.name_.GetBaseline());
    name_.CommitAll();
    name_.CopyFrom(copy.name_);
    config_ = copy.config_;
    loadedConfig_ = copy.loadedConfig_;
    trace_ = std::move(copy.trace_);
    unknown_ = copy.unknown_;
    storedEmpty_ = copy.storedEmpty_;
}
