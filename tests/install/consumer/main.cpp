// Stores one value through the installed library and prints a report's text.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    YIniFileStoreFactory factory(rivode::FromUtf8(argv[1]));
    YProfileStore store(&factory);
    YProfileKey key(store.GetRootKey(), u"Sessions\\Installed", true);
    if (!key.SetDword(u"Port", 22) || !key.Flush()) {
        return 1;
    }
    YReportMessageParams report(rivode::msg::ProductLaunchFailed);
    report.AddString("Quillterm");
    report.AddString("/opt/quillterm");
    std::printf("%s", rivode::ToUtf8(report.GetTextTrimmed()).c_str());
    return 0;
}
