// The help texts of the nimbo commands.
#include "tools/nimbo/HelpFormatter.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace nimbo {

namespace {

typedef std::vector<std::pair<std::string, std::string>> CRows;

// Names wider than this put their description on the next line.
const size_t kMaxNameWidth = 26;

// A titled list of "name  description" rows, descriptions in one column.
std::string Section(const std::string& strTitle, const CRows& rows) {
  if (rows.empty()) return std::string();
  size_t nWidth = 0;
  for (const auto& row : rows)
    if (row.first.size() <= kMaxNameWidth) nWidth = std::max(nWidth, row.first.size());
  std::string strText = "\n" + strTitle + ":\n";
  for (const auto& row : rows) {
    std::string strLine = "  " + row.first;
    if (!row.second.empty()) {
      if (row.first.size() > nWidth)
        strLine += "\n  " + std::string(nWidth, ' ');
      else
        strLine += std::string(nWidth - row.first.size(), ' ');
      strLine += "  " + row.second;
    }
    strText += strLine + "\n";
  }
  return strText;
}

std::string Lower(std::string str) {
  for (char& ch : str) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return str;
}

// "-h, --help", "--project DIR": the names a person types, and the kind of
// value the option takes.
std::string OptionName(const CLI::Option& option) {
  std::string strName;
  for (const std::string& strShort : option.get_snames()) strName += (strName.empty() ? "-" : ", -") + strShort;
  for (const std::string& strLong : option.get_lnames()) strName += (strName.empty() ? "--" : ", --") + strLong;
  if (option.get_type_size_max() > 0 && !option.get_type_name().empty()) strName += " " + option.get_type_name();
  return strName;
}

}  // namespace

std::string CHelpFormatter::make_help(const CLI::App* pCommand, std::string, CLI::AppFormatMode) const {
  std::string strText = "usage: " + m_strUsage + "\n";
  const std::string strDescription = pCommand->get_description();
  if (!strDescription.empty()) strText += "\n" + strDescription + "\n";

  CRows arguments;
  for (const CLI::Option* pOption :
       pCommand->get_options([](const CLI::Option* p) { return p->get_positional() && !p->get_group().empty(); }))
    arguments.emplace_back(pOption->get_name(), pOption->get_description());
  strText += Section("arguments", arguments);

  // Options by their group, the help and version flags last.
  for (const std::string& strGroup : pCommand->get_groups()) {
    CRows options;
    CRows lasts;
    for (const CLI::Option* pOption : pCommand->get_options(
             [&strGroup](const CLI::Option* p) { return p->nonpositional() && p->get_group() == strGroup; })) {
      const bool bLast = pOption == pCommand->get_help_ptr() || pOption == pCommand->get_version_ptr();
      (bLast ? lasts : options).emplace_back(OptionName(*pOption), pOption->get_description());
    }
    options.insert(options.end(), lasts.begin(), lasts.end());
    if (!strGroup.empty()) strText += Section(Lower(strGroup), options);
  }

  std::vector<std::string> groups;
  for (const CLI::App* pSub : pCommand->get_subcommands([](const CLI::App*) { return true; }))
    if (!pSub->get_group().empty() && std::find(groups.begin(), groups.end(), pSub->get_group()) == groups.end())
      groups.push_back(pSub->get_group());
  for (const std::string& strGroup : groups) {
    CRows commands;
    for (const CLI::App* pSub :
         pCommand->get_subcommands([&strGroup](const CLI::App* p) { return p->get_group() == strGroup; }))
      commands.emplace_back(pSub->get_name(), pSub->get_description());
    strText += Section(Lower(strGroup), commands);
  }

  const std::string strFooter = pCommand->get_footer();
  if (!strFooter.empty()) strText += "\n" + strFooter + (strFooter.back() == '\n' ? "" : "\n");
  if (!m_examples.empty()) {
    strText += "\nexamples:\n";
    for (const std::string& strExample : m_examples) strText += "  " + strExample + "\n";
  }
  return strText;
}

std::string HelpText(const CLI::App& command) {
  return command.get_formatter()->make_help(&command, command.get_name(), CLI::AppFormatMode::Normal);
}

}  // namespace nimbo
