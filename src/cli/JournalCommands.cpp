#include "cli/JournalCommands.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>

#include "app/ProgramFolder.h"
#include "cli/ToolCommands.h"
#include "journal/Exports.h"
#include "journal/ItemStatistics.h"
#include "journal/JournalStore.h"
#include "journal/JournalTexts.h"
#include "journal/ResultLogImport.h"
#include "model/TextUtil.h"

namespace quilmo::cli {

namespace {

// The command line after the subcommand: --store FILE and the subcommand's
// own options and operands.
struct JournalArgs {
    std::string Store;
    std::optional<int64_t> Session;
    bool All = false;
    std::vector<std::string> Operands;
};

std::optional<JournalArgs> ParseArgs(const std::vector<std::string>& args, bool sessionOptions, std::ostream& err)
{
    JournalArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--store" || (sessionOptions && a == "--session")) {
            if (i + 1 >= args.size()) {
                err << a << ": нужно значение\n";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (a == "--store") {
                parsed.Store = value;
            } else {
                const auto id = ParseInt64(value);
                if (!id || *id <= 0) {
                    err << "--session: неверный номер сессии: " << value << '\n';
                    return std::nullopt;
                }
                parsed.Session = *id;
            }
        } else if (sessionOptions && a == "--all") {
            parsed.All = true;
        } else if (a.size() > 1 && a[0] == '-' && a.substr(0, 2) == "--") {
            err << "неизвестный параметр: " << a << '\n';
            return std::nullopt;
        } else {
            parsed.Operands.push_back(a);
        }
    }
    if (parsed.Session && parsed.All) {
        err << "--session и --all вместе не указываются\n";
        return std::nullopt;
    }
    // The same store quilmo beside this program uses.
    if (parsed.Store.empty())
        parsed.Store = ChooseProgramFolder(ExecutableFolder()) + journal::kStoreFileName;
    return parsed;
}

enum class Access { Read, Write, Create };

std::unique_ptr<journal::JournalStore> OpenStore(const std::string& path, Access access, std::ostream& err)
{
    auto store = journal::JournalStore::Open(path, access == Access::Read, access == Access::Create);
    if (!store) {
        err << path << ": " << store.error().Message << '\n';
        return nullptr;
    }
    return std::move(*store);
}

std::string Stamp(const TDateTime& dt)
{
    return FormatDateTime("dd.mm.yyyy hh:nn:ss", dt);
}

int List(const JournalArgs& args, std::ostream& out, std::ostream& err)
{
    if (!args.Operands.empty())
        return kUsage;
    auto store = OpenStore(args.Store, Access::Read, err);
    if (!store)
        return kFailed;
    const auto sessions = store->Sessions();
    if (!sessions) {
        err << args.Store << ": " << sessions.error().Message << '\n';
        return kFailed;
    }
    out << "id\tstart\tstop\tresults\tunexported\n";
    for (const journal::StoredSession& s : *sessions)
        out << s.Id << '\t' << Stamp(s.Started) << '\t' << (s.Stopped ? Stamp(*s.Stopped) : "-") << '\t'
            << s.Results << '\t' << s.Unexported << '\n';
    return kOk;
}

bool EndsWithIgnoreCase(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && EqualsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
}

// The results --session ID or --all names, the latest session's without either.
std::optional<std::vector<journal::StoredResult>> SelectedResults(const JournalArgs& args,
                                                                  journal::JournalStore& store, std::ostream& err)
{
    std::optional<int64_t> session = args.Session;
    if (!args.All && !session) {
        const auto sessions = store.Sessions();
        if (!sessions) {
            err << args.Store << ": " << sessions.error().Message << '\n';
            return std::nullopt;
        }
        if (sessions->empty()) {
            err << args.Store << ": в журнале нет ни одной сессии\n";
            return std::nullopt;
        }
        session = sessions->back().Id;
    }
    auto results = store.Results(session);
    if (!results) {
        err << args.Store << ": " << results.error().Message << '\n';
        return std::nullopt;
    }
    if (session && results->empty()) {
        const auto sessions = store.Sessions();
        if (sessions && std::none_of(sessions->begin(), sessions->end(),
                                     [&](const journal::StoredSession& s) { return s.Id == *session; })) {
            err << args.Store << ": нет сессии " << *session << '\n';
            return std::nullopt;
        }
    }
    return std::move(*results);
}

int Export(const JournalArgs& args, std::ostream& err)
{
    if (args.Operands.size() != 1)
        return kUsage;
    const std::string& outPath = args.Operands[0];
    const bool text = EndsWithIgnoreCase(outPath, ".txt") || EndsWithIgnoreCase(outPath, ".tsv");
    if (!text && !EndsWithIgnoreCase(outPath, ".xlsx")) {
        err << outPath << ": файл должен оканчиваться на .txt, .tsv или .xlsx\n";
        return kUsage;
    }
    // Read-write: what is exported counts as exported.
    auto store = OpenStore(args.Store, Access::Write, err);
    if (!store)
        return kFailed;
    const auto results = SelectedResults(args, *store, err);
    if (!results)
        return kFailed;
    std::vector<journal::TTestResult> records;
    std::vector<int64_t> ids;
    for (const journal::StoredResult& r : *results) {
        records.push_back(r.Result);
        ids.push_back(r.Id);
    }
    const std::vector<journal::RowTexts> rows = journal::TableTexts(records);
    const Status saved = text ? journal::SaveAsTextFile(rows, outPath)
                              : journal::SaveAsExcelFile(records, outPath, LocalNow());
    if (!saved) {
        err << saved.error().Message << '\n';
        return kFailed;
    }
    if (auto s = store->MarkExported(ids); !s) {
        err << args.Store << ": " << s.error().Message << '\n';
        return kFailed;
    }
    return kOk;
}

int Import(const JournalArgs& args, std::ostream& out, std::ostream& err)
{
    if (args.Operands.empty())
        return kUsage;
    int code = kOk;
    journal::ImportCounts counts;
    std::vector<journal::TTestResult> found;
    for (const std::string& path : args.Operands) {
        auto contents = journal::ReadResultLogFile(path);
        if (!contents) {
            err << contents.error().Message << '\n';
            code = kFailed;
            continue;
        }
        counts.Unreadable += contents->Unreadable;
        for (journal::TTestResult& r : contents->Results)
            found.push_back(std::move(r));
    }
    auto store = OpenStore(args.Store, Access::Create, err);
    if (!store)
        return kFailed;
    // A session of its own, so the list shows when the logs were gathered.
    const TDateTime now = LocalNow();
    auto session = store->BeginSession(now);
    if (!session) {
        err << args.Store << ": " << session.error().Message << '\n';
        return kFailed;
    }
    auto receipts = store->AddResults(session->Id, found, journal::ResultSource::Import, std::nullopt);
    if (!receipts) {
        err << args.Store << ": " << receipts.error().Message << '\n';
        return kFailed;
    }
    for (const journal::StoreReceipt& r : *receipts)
        ++(r.Added ? counts.Added : counts.Already);
    if (auto s = store->EndSession(session->Id, LocalNow()); !s) {
        err << args.Store << ": " << s.error().Message << '\n';
        code = kFailed;
    }
    for (const std::string& line : journal::ImportSummaryLines(counts))
        out << line << '\n';
    return code;
}

int Stats(const JournalArgs& args, std::ostream& err)
{
    if (args.Operands.size() != 1)
        return kUsage;
    const std::string& outPath = args.Operands[0];
    if (!EndsWithIgnoreCase(outPath, ".tsv") && !EndsWithIgnoreCase(outPath, ".txt")) {
        err << outPath << ": файл должен оканчиваться на .tsv или .txt\n";
        return kUsage;
    }
    // Statistics only read: nothing counts as exported by them.
    auto store = OpenStore(args.Store, Access::Read, err);
    if (!store)
        return kFailed;
    const auto results = SelectedResults(args, *store, err);
    if (!results)
        return kFailed;
    std::vector<journal::TTestResult> records;
    for (const journal::StoredResult& r : *results)
        records.push_back(r.Result);
    if (const Status saved = journal::SaveStatisticsTsv(records, outPath); !saved) {
        err << saved.error().Message << '\n';
        return kFailed;
    }
    return kOk;
}

struct Subcommand {
    const char* Name;
    bool SessionOptions;  // takes --session ID and --all
    std::function<int(const JournalArgs&, std::ostream&, std::ostream&)> Run;
};

const std::vector<Subcommand>& Subcommands()
{
    static const std::vector<Subcommand> table = {
        {"list", false, List},
        {"export", true, [](const JournalArgs& a, std::ostream&, std::ostream& err) { return Export(a, err); }},
        {"import", false, Import},
        {"stats", true, [](const JournalArgs& a, std::ostream&, std::ostream& err) { return Stats(a, err); }},
    };
    return table;
}

}  // namespace

void JournalUsage(std::ostream& err)
{
    err << "  quilmo-tool journal list [--store ФАЙЛ]\n"
           "  quilmo-tool journal export [--store ФАЙЛ] [--session НОМЕР | --all] ВЫХОД(.txt, .tsv, .xlsx)\n"
           "  quilmo-tool journal import [--store ФАЙЛ] result.txt ...\n"
           "  quilmo-tool journal stats [--store ФАЙЛ] [--session НОМЕР | --all] ВЫХОД.tsv\n";
}

int Journal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        for (const Subcommand& sub : Subcommands()) {
            if (args[0] != sub.Name)
                continue;
            const auto parsed = ParseArgs({args.begin() + 1, args.end()}, sub.SessionOptions, err);
            const int code = parsed ? sub.Run(*parsed, out, err) : kUsage;
            if (code == kUsage)
                JournalUsage(err);
            return code;
        }
    }
    JournalUsage(err);
    return kUsage;
}

}  // namespace quilmo::cli
