// Importing a large address book: 100,000 cards (half vCard 3.0 in UTF-8 as address
// books write them, half 2.1 from a Korean phone, EUC-KR quoted-printable), read, fitted
// into the 250-row memo list with its report of the 99,750 left out, and encoded as the
// memo file. The whole of "memo import" but the file reads and writes.
#include <benchmark/benchmark.h>

#include <string>

#include "memo/ContactFiles.h"
#include "memo/ContactFit.h"
#include "memo/MemoFile.h"

namespace {

constexpr int kCards = 100000;

const std::string& AddressBook() {
    static const std::string text = [] {
        std::string t;
        for (int i = 0; i < kCards; ++i) {
            std::string n = std::to_string(i);
            if (i % 2) {
                t += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:김;철수" + n + ";;;\r\nFN:김철수 " + n +
                     "\r\nTEL;TYPE=CELL:010-" + n + "\r\nTEL;TYPE=WORK,pref:02-555-" + n +
                     "\r\nEMAIL;TYPE=INTERNET:kim" + n + "@example.com\r\nEND:VCARD\r\n";
            } else {
                // 홍길동 in EUC-KR, the soft line break where a phone puts it.
                t += "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=C8=AB;=B1=E6=B5=BF;;;\r\n"
                     "FN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=C8=AB=B1=\r\n=E6=B5=BF" + n +
                     "\r\nTEL;CELL;PREF:011-" + n + "\r\nEND:VCARD\r\n";
            }
        }
        return t;
    }();
    return text;
}

void BM_ImportHundredThousandContacts(benchmark::State& state) {
    const std::string& book = AddressBook();
    for (auto _ : state) {
        Contacts contacts;
        std::string error;
        if (!ReadContacts(book, ContactFormat::Detect, contacts, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        FitResult fit = FitContacts(contacts, FitPolicy::Trim, kMemoRows);
        if (fit.notes.size() != kCards - kMemoRows) {
            state.SkipWithError("the report does not list every contact left out");
            break;
        }
        MemoTable table{};
        int last = StoreFitted(table, 0, fit.rows);
        benchmark::DoNotOptimize(EncodeMemoFile(table, last));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(book.size()));
    state.counters["contacts"] = kCards;
}
BENCHMARK(BM_ImportHundredThousandContacts)->Unit(benchmark::kMillisecond);

}  // namespace
