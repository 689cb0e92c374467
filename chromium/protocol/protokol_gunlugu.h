// The protocol log: with KORVA_CHROMIUM_LOG naming a file, every command a view
// sends and every event it receives is appended to it, one line each, with what the
// user types replaced.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Whether a log is written: what costs to describe is described only then.
bool gunluk_acik();
void gunluge_yaz(const std::string& oturum, const std::string& yontem, const nlohmann::json& parametreler);
