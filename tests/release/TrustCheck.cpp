// trustcheck.exe CA.der FILE...: what Windows itself says of each file's Authenticode signature.
// It asks WinVerifyTrust once before and once while the certificate authority CA.der is in the
// machine's trusted root store, and takes the authority out of the store again before it ends.
// Prints one line a file and round, "before|trusted FILE 0xRESULT" (0x00000000: trusted);
// the calling script decides what each answer must be. Exit code 2: the check could not be made.
#include <windows.h>
#include <shellapi.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

struct StoreCloser {
  void operator()(void* store) const { CertCloseStore(static_cast<HCERTSTORE>(store), 0); }
};
using Store = std::unique_ptr<void, StoreCloser>;

struct CertFreer {
  void operator()(const CERT_CONTEXT* cert) const { CertFreeCertificateContext(cert); }
};
using Cert = std::unique_ptr<const CERT_CONTEXT, CertFreer>;

struct ArgvFreer {
  void operator()(LPWSTR* argv) const { LocalFree(argv); }
};

LONG VerifyFile(const std::wstring& path) {
  WINTRUST_FILE_INFO file{};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = path.c_str();
  WINTRUST_DATA data{};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return result;
}

void Report(const char* round, const std::wstring& path, LONG result) {
  std::printf("%s %ls 0x%08lx\n", round, path.c_str(), static_cast<unsigned long>(result));
}

// Takes the authority out of the store when the check ends, however it ends.
class TrustedRoot {
 public:
  TrustedRoot(HCERTSTORE store, const std::vector<unsigned char>& der) {
    const CERT_CONTEXT* added = nullptr;
    if (CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                         CERT_STORE_ADD_REPLACE_EXISTING, &added)) {
      cert_.reset(added);
    }
  }
  ~TrustedRoot() {
    // CertDeleteCertificateFromStore frees the context it is given, even when it fails.
    if (cert_) CertDeleteCertificateFromStore(CertDuplicateCertificateContext(cert_.get()));
  }
  TrustedRoot(const TrustedRoot&) = delete;
  TrustedRoot& operator=(const TrustedRoot&) = delete;
  bool Added() const { return cert_ != nullptr; }

 private:
  Cert cert_;
};

}  // namespace

int main() {
  int argc = 0;
  std::unique_ptr<LPWSTR, ArgvFreer> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv || argc < 3) {
    std::fprintf(stderr, "usage: trustcheck CA.der FILE...\n");
    return 2;
  }
  std::ifstream in(argv.get()[1], std::ios::binary);
  std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fprintf(stderr, "cannot read %ls\n", argv.get()[1]);
    return 2;
  }
  std::vector<std::wstring> files(argv.get() + 2, argv.get() + argc);

  for (const auto& f : files) Report("before", f, VerifyFile(f));

  Store root(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!root) {
    std::fprintf(stderr, "cannot open the machine's root store (%lu)\n", GetLastError());
    return 2;
  }
  {
    TrustedRoot trusted(root.get(), der);
    if (!trusted.Added()) {
      std::fprintf(stderr, "cannot add the authority to the root store (%lu)\n", GetLastError());
      return 2;
    }
    for (const auto& f : files) Report("trusted", f, VerifyFile(f));
  }
  // Read back: the authority is gone from the store again.
  // (Each find frees the context it is given; the one returned on a match is freed here.)
  const CERT_CONTEXT* c = nullptr;
  while ((c = CertFindCertificateInStore(root.get(), X509_ASN_ENCODING, 0, CERT_FIND_ANY, nullptr, c)) != nullptr) {
    if (c->cbCertEncoded == der.size() && std::equal(der.begin(), der.end(), c->pbCertEncoded)) {
      CertFreeCertificateContext(c);
      std::fprintf(stderr, "the authority is still in the root store\n");
      return 2;
    }
  }
  return 0;
}
