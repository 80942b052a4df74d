// BenchInput: generators of the benchmark inputs.
#include "BenchInput.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

const uint64_t kSeed = 20261207;

bool Exists(const std::string& strPath) {
  struct stat st;
  return stat(strPath.c_str(), &st) == 0;
}

void MakeDir(const std::string& strPath) {
  if (mkdir(strPath.c_str(), 0755) != 0 && !Exists(strPath)) throw std::runtime_error("cannot create " + strPath);
}

// Writes strText to strPath through a temporary name, so that an interrupted
// run never leaves a half-written input behind under the final name.
void WriteWhole(const std::string& strPath, const std::string& strText) {
  const std::string strTemporary = strPath + ".part";
  std::FILE* pFile = std::fopen(strTemporary.c_str(), "wb");
  if (pFile == nullptr) throw std::runtime_error("cannot write " + strTemporary);
  const bool bOk = std::fwrite(strText.data(), 1, strText.size(), pFile) == strText.size();
  if (std::fclose(pFile) != 0 || !bOk || std::rename(strTemporary.c_str(), strPath.c_str()) != 0)
    throw std::runtime_error("cannot write " + strPath);
}

void AppendRandomText(CBenchRandom& random, std::string& strOut, int nLength) {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789 ,._-/:";
  for (int i = 0; i < nLength; ++i) {
    char c = kAlphabet[random.Below(sizeof kAlphabet - 1)];
    if ((i == 0 || i == nLength - 1) && c == ' ') c = 'x';  // no blanks at either end
    strOut += c;
  }
}

}  // namespace

const std::string& BenchDataDir() {
  static const std::string strDir = [] {
    const char* psz = std::getenv("NIMBO_BENCH_DATA");
    std::string strPath = psz != nullptr && *psz != 0 ? psz : "/tmp/nimbo-bench-data";
    MakeDir(strPath);
    return strPath;
  }();
  return strDir;
}

uint64_t EntryChecksum(const char* pszSection, const char* pszKey, const char* pszValue) {
  uint64_t nHash = 1469598103934665603ULL;
  auto mix = [&nHash](const char* psz) {
    for (; *psz != 0; ++psz) nHash = (nHash ^ static_cast<unsigned char>(*psz)) * 1099511628211ULL;
    nHash = (nHash ^ 0xFF) * 1099511628211ULL;
  };
  mix(pszSection);
  mix(pszKey);
  mix(pszValue);
  return nHash;
}

std::string IniFileFor(int nMegabytes, int nKeysPerSection, CIniSummary* pSummary) {
  const std::string strPath =
      BenchDataDir() + "/ini_" + std::to_string(nMegabytes) + "mb_" + std::to_string(nKeysPerSection) + "keys.ini";
  const size_t nTarget = static_cast<size_t>(nMegabytes) * 1000 * 1000;
  CBenchRandom random(kSeed + static_cast<uint64_t>(nKeysPerSection));
  CIniSummary summary;
  std::string strText;
  strText.reserve(nTarget + 4096);
  strText += "; generated benchmark input: sections of key=value lines\r\n";
  size_t nLines = 0;
  while (strText.size() < nTarget) {
    char szSection[32];
    std::snprintf(szSection, sizeof szSection, "section%06zu", summary.nSections++);
    strText += '[';
    strText += szSection;
    strText += "]\r\n";
    for (int k = 0; k < nKeysPerSection; ++k) {
      if (++nLines % 997 == 0) strText += "; a comment line, which every reader skips\r\n";
      char szKey[32];
      std::snprintf(szKey, sizeof szKey, "key%04d_%c%c", k, 'a' + random.Below(26), 'a' + random.Below(26));
      std::string strValue;
      AppendRandomText(random, strValue, 70 + static_cast<int>(random.Below(40)));
      strText += szKey;
      strText += '=';
      strText += strValue;
      strText += "\r\n";
      summary.nEntries++;
      summary.nChecksum += EntryChecksum(szSection, szKey, strValue.c_str());
    }
    strText += "\r\n";
  }
  if (!Exists(strPath)) WriteWhole(strPath, strText);
  if (pSummary != nullptr) *pSummary = summary;
  return strPath;
}

std::string GitStyleIniFileFor(int nMegabytes, CIniProbe* pProbe) {
  const std::string strPath = BenchDataDir() + "/ini_" + std::to_string(nMegabytes) + "mb_gitstyle.ini";
  const size_t nTarget = static_cast<size_t>(nMegabytes) * 1000 * 1000;
  CBenchRandom random(kSeed + 4);
  CIniProbe probe;
  std::string strText;
  strText.reserve(nTarget + 4096);
  strText += "; generated benchmark input: sections of key=value lines that git config reads\n";
  for (size_t nSection = 0; strText.size() < nTarget; ++nSection) {
    char szSection[32];
    std::snprintf(szSection, sizeof szSection, "section%06zu", nSection);
    strText += std::string("[") + szSection + "]\n";
    for (int k = 0; k < 10; ++k) {
      char szKey[32];
      std::snprintf(szKey, sizeof szKey, "key%04d-%c%c", k, 'a' + random.Below(26), 'a' + random.Below(26));
      std::string strValue;
      AppendRandomText(random, strValue, 70 + static_cast<int>(random.Below(40)));
      strText += std::string(szKey) + "=" + strValue + "\n";
      probe = {szSection, szKey, strValue};
    }
    strText += "\n";
  }
  if (!Exists(strPath)) WriteWhole(strPath, strText);
  if (pProbe != nullptr) *pProbe = probe;
  return strPath;
}

std::string MixedIniFileFor(int nMegabytes, CIniSummary* pKept, CIniSummary* pTrimmed) {
  static const char* const kWords[] = {"Window", "Color", "Font", "Size", "Path", "Recent", "Tool", "Bar", "Width",
                                       "Last", "Open", "File", "Height", "Print", "Margin", "Mode"};
  static const char kValueAlphabet[] = "abcdefghijKLMNOPQRSTuvwxyz0123456789 ,./-=";
  const std::string strPath = BenchDataDir() + "/ini_" + std::to_string(nMegabytes) + "mb_mixed.ini";
  const size_t nTarget = static_cast<size_t>(nMegabytes) * 1000 * 1000;
  CBenchRandom random(kSeed + 3);
  CIniSummary kept, trimmed;
  std::string strText;
  strText.reserve(nTarget + 4096);
  strText += "; generated benchmark input: mixed-case names, blanks around \"=\", values with \"=\"\r\n\r\n";
  auto word = [&random]() { return std::string(kWords[random.Below(sizeof kWords / sizeof kWords[0])]); };
  while (strText.size() < nTarget) {
    const std::string strSection = word() + "." + word() + std::to_string(kept.nSections);
    ++kept.nSections;
    ++trimmed.nSections;
    strText += "[" + strSection + "]\r\n";
    const int nKeys = 5 + static_cast<int>(random.Below(56));
    for (int k = 0; k < nKeys; ++k) {
      if (random.Below(50) == 0) strText += "; " + word() + " settings follow\r\n";
      const std::string strKey = word() + word() + std::to_string(k);
      std::string strValue;
      const int nLength = 5 + static_cast<int>(random.Below(86));
      for (int i = 0; i < nLength; ++i) {
        char c = kValueAlphabet[random.Below(sizeof kValueAlphabet - 1)];
        if ((i == 0 || i == nLength - 1) && c == ' ') c = 'x';  // blanks only inside, so trimming is only around "="
        strValue += c;
      }
      const char* pszLeft = random.Below(2) ? " " : "";
      const char* pszRight = random.Below(2) ? " " : "";
      strText += strKey + pszLeft + "=" + pszRight + strValue + "\r\n";
      ++kept.nEntries;
      ++trimmed.nEntries;
      kept.nChecksum += EntryChecksum(strSection.c_str(), (strKey + pszLeft).c_str(), (pszRight + strValue).c_str());
      trimmed.nChecksum += EntryChecksum(strSection.c_str(), strKey.c_str(), strValue.c_str());
    }
    strText += "\r\n";
  }
  if (!Exists(strPath)) WriteWhole(strPath, strText);
  if (pKept != nullptr) *pKept = kept;
  if (pTrimmed != nullptr) *pTrimmed = trimmed;
  return strPath;
}

std::string ScriptProjectFor(int nFiles, int nLinesPerFile, int nFunctionsPerFile, size_t* pnFunctions) {
  const std::string strDir = BenchDataDir() + "/project_" + std::to_string(nFiles) + "x" +
                             std::to_string(nLinesPerFile) + "_" + std::to_string(nFunctionsPerFile);
  if (pnFunctions != nullptr) *pnFunctions = static_cast<size_t>(nFiles) * static_cast<size_t>(nFunctionsPerFile);
  const std::string strDone = strDir + "/.complete";
  if (Exists(strDone)) return strDir;
  MakeDir(strDir);
  CBenchRandom random(kSeed + 1);
  // Each function takes nBody body lines; what is left of the file is filled
  // with global declarations and comments.
  const int nPerFunction = nLinesPerFile / nFunctionsPerFile;
  for (int f = 0; f < nFiles; ++f) {
    std::string strText;
    int nLine = 0;
    for (int g = 0; g < nFunctionsPerFile; ++g) {
      const int nStart = nLine;
      char szHeader[128];
      std::snprintf(szHeader, sizeof szHeader, "function %sFn%04d_%02d(nCount, strText, aItems) {\n",
                    random.Below(2) ? "number " : "", f, g);
      strText += "// Works on the items of one order.\n";
      strText += szHeader;
      nLine += 2;
      while (nLine < nStart + nPerFunction - 1) {
        switch (random.Below(4)) {
          case 0: strText += "  var nTotal = nCount * 3 + Length(strText); // running total\n"; break;
          case 1: strText += "  if (nTotal > 100) { Print(\"too many, (really)\", nTotal); }\n"; break;
          case 2: strText += "  for (var i = 0; i < Size(aItems); i += 1) { nTotal += aItems[i]; }\n"; break;
          default: strText += "  /* keep the text */ strText = StrTrim(strText) + \"function\";\n"; break;
        }
        ++nLine;
      }
      strText += "  return nTotal;\n}\n";
      nLine += 1;
    }
    while (nLine < nLinesPerFile) {
      strText += "var g_nSetting = 42;\n";
      ++nLine;
    }
    char szName[64];
    std::snprintf(szName, sizeof szName, "/script%04d.nsc", f);
    WriteWhole(strDir + szName, strText);
  }
  WriteWhole(strDone, "");
  return strDir;
}

std::string FuncWizDirFor(int nFunctions) {
  const std::string strDir = BenchDataDir() + "/programs_" + std::to_string(nFunctions);
  MakeDir(strDir);
  const std::string strPath = strDir + "/funcwiz.ini";
  if (Exists(strPath)) return strDir;
  CBenchRandom random(kSeed + 2);
  std::string strText = "; Function wizard: every built-in function with a sample call line.\r\n\r\n";
  strText += "[FuncWiz - Category - All]\r\n";
  for (int i = 0; i < nFunctions; ++i) strText += std::to_string(i + 1) + "=Builtin" + std::to_string(i) + "\r\n";
  strText += "\r\n";
  for (int i = 0; i < nFunctions; ++i) {
    const std::string strName = "Builtin" + std::to_string(i);
    strText += "[" + strName + "]\r\n";
    strText += "Category=" + std::string(random.Below(2) ? "String" : "Number") + "\r\n";
    strText += "Description=Does the work of function number " + std::to_string(i) + " for the script.\r\n";
    strText += "SampleLine=" + strName + "(strText, nStart, nCount)\r\n\r\n";
  }
  WriteWhole(strPath, strText);
  return strDir;
}
