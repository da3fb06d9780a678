#include "cli/Registry.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace cli {
namespace {

std::map<std::string, CommandFn>& Commands() {
    static std::map<std::string, CommandFn> map;
    return map;
}

std::vector<std::pair<int, DescribeFn>>& DescriberList() {
    static std::vector<std::pair<int, DescribeFn>> list;
    return list;
}

}  // namespace

Registered::Registered(const std::string& name, CommandFn run) { Commands()[name] = std::move(run); }

Registered::Registered(int order, DescribeFn describe) {
    auto& list = DescriberList();
    list.emplace_back(order, std::move(describe));
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

const CommandFn* FindCommand(const std::string& name) {
    auto it = Commands().find(name);
    return it == Commands().end() ? nullptr : &it->second;
}

std::vector<DescribeFn> Describers() {
    std::vector<DescribeFn> out;
    for (auto& [order, fn] : DescriberList()) out.push_back(fn);
    return out;
}

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "lyrabox-cli: %s\n", message.c_str());
    return code;
}

}  // namespace cli
