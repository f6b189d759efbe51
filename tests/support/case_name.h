#pragma once
// The name of a parameterised test case: its `name` field, with every
// character GoogleTest does not accept in a name turned into '_'.
#include <cctype>
#include <string>

namespace morvane::test {

struct CaseName {
    template <class Info> std::string operator()(const Info& info) const {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    }
};

} // namespace morvane::test
