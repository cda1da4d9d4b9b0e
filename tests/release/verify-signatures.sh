#!/usr/bin/env bash
# The package's signatures, checked as a user would: osslsigncode verify of every binary against
# the certificate authority that signed the build, a copy with one byte changed that must fail it,
# and what Windows itself says (WinVerifyTrust, in a fresh Wine prefix, before and while the
# authority is in the machine's trusted root store).
# Usage: verify-signatures.sh PACKAGE.zip BUILD-BIN-DIR SIGNATURES-DIR
# The authority is the test authority that went with the signatures (SIGNATURES-DIR/test-ca.crt),
# or, for a package signed with a certificate of your own, its root in WIRAX_SIGN_CAFILE.
set -euo pipefail
package=$1 bin=$2 ca=${WIRAX_SIGN_CAFILE:-$3/test-ca.crt}
fail() { echo "FAILED: $*"; exit 1; }
[ -f "$package" ] || fail "no package at $package"
[ -f "$ca" ] || fail "no certificate authority at $ca (for a certificate of your own, set WIRAX_SIGN_CAFILE to its root)"

work=$(mktemp -d /tmp/verify-signatures.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
cleanup() { /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
unzip -q "$package" -d "$work/unpacked"
folder=$work/unpacked/$(basename "$package" .zip)

shipped=(FormwellChecks.dll FormwellUIRes.dll HostRes.dll Qt5Core.dll WiraxUI.dll WiraxUIRes.dll msidb-edit.exe)
found=$(cd "$folder" && find . -type f \( -iname '*.dll' -o -iname '*.exe' \) -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$found" = "${shipped[*]} " ] || fail "the package's binaries are [$found], not [${shipped[*]} ]"

verify() { osslsigncode verify -CAfile "$ca" -in "$1" > "$work/verify.log" 2>&1; }
for f in "${shipped[@]}"; do
  verify "$folder/$f" || { cat "$work/verify.log"; fail "$f: osslsigncode verify failed"; }
  grep -q '^Signature verification: ok' "$work/verify.log" || { cat "$work/verify.log"; fail "$f: no good signature"; }
done
echo "osslsigncode verify: all ${#shipped[@]} binaries signed, their signatures good against $(basename "$ca")"

# One byte changed in the code of a signed binary: its digest no longer matches the signature.
changed=$work/changed/WiraxUI.dll
mkdir -p "$(dirname "$changed")"
cp "$folder/WiraxUI.dll" "$changed"
text_at=$(x86_64-w64-mingw32-objdump -h "$changed" | awk '$2 == ".text" { print $6; exit }')
[ -n "$text_at" ] || fail "no .text section in WiraxUI.dll"
offset=$(( 0x$text_at + 256 ))
python3 - "$changed" "$offset" <<'PY'
import sys
path, offset = sys.argv[1], int(sys.argv[2])
with open(path, 'r+b') as f:
    f.seek(offset)
    byte = f.read(1)[0]
    f.seek(offset)
    f.write(bytes([byte ^ 0x01]))
PY
cmp -s "$folder/WiraxUI.dll" "$changed" && fail "the copy was not changed"
if verify "$changed"; then cat "$work/verify.log"; fail "osslsigncode verify accepted WiraxUI.dll with a byte changed at $offset"; fi
grep -q 'MISMATCH\|Signature verification: failed\|mismatch' "$work/verify.log" \
  || { cat "$work/verify.log"; fail "the changed copy failed for another reason than its digest"; }
echo "osslsigncode verify: the copy of WiraxUI.dll with byte $offset changed fails ($(grep -m1 -o 'MISMATCH\|mismatch' "$work/verify.log" || echo failed))"

# Windows itself, under Wine.
"$(dirname "$0")/../../scripts/wine-prefix.sh" "$WINEPREFIX" >/dev/null
openssl x509 -in "$ca" -outform DER -out "$work/ca.der"
# Beside the packaged binaries: the changed copy and a copy without its signature.
osslsigncode remove-signature -in "$folder/WiraxUI.dll" -out "$work/changed/unsigned-WiraxUI.dll" > /dev/null
files=()
for f in "${shipped[@]}"; do files+=("Z:$folder/$f"); done
/usr/lib/wine/wine64 "$bin/trustcheck.exe" "Z:$work/ca.der" "${files[@]}" "Z:$changed" "Z:$work/changed/unsigned-WiraxUI.dll" \
  </dev/null > "$work/trust.log" 2>&1 || { cat "$work/trust.log"; fail "trustcheck.exe could not make the check"; }
tr -d '\r' < "$work/trust.log" > "$work/trust.txt"
answer() { awk -v round="$1" -v file="Z:$2" '$1 == round && $2 == file { print $3 }' "$work/trust.txt"; }
untrusted_before=0
for f in "${shipped[@]}"; do
  before=$(answer before "$folder/$f") trusted=$(answer trusted "$folder/$f")
  [ -n "$before" ] && [ -n "$trusted" ] || { cat "$work/trust.txt"; fail "no answer of WinVerifyTrust for $f"; }
  [ "$trusted" = 0x00000000 ] || fail "WinVerifyTrust refused $f ($trusted) with the test authority a trusted root"
  [ "$before" = 0x00000000 ] || untrusted_before=$((untrusted_before + 1))
done
changed_answer=$(answer trusted "$changed")
unsigned_answer=$(answer trusted "$work/changed/unsigned-WiraxUI.dll")
[ "$unsigned_answer" = 0x800b0100 ] || fail "WinVerifyTrust said $unsigned_answer, not TRUST_E_NOSIGNATURE, of WiraxUI.dll without its signature"
echo "WinVerifyTrust under Wine: all ${#shipped[@]} binaries trusted (0x00000000) with the test authority a trusted root; WiraxUI.dll without its signature refused (0x800b0100, no signature)"
if [ "$changed_answer" = 0x00000000 ]; then
  echo "WinVerifyTrust under Wine trusts the copy with a byte changed: Wine's answer does not show that the digest"
  echo "matches; that was checked with osslsigncode above"
else
  echo "WinVerifyTrust under Wine: the copy with a byte changed refused ($changed_answer, 0x80096010 is a bad digest)"
fi
if [ "$untrusted_before" = 0 ]; then
  echo "WinVerifyTrust under Wine trusted the binaries before the test authority was in the root store as well (Wine 8"
  echo "does not require the chain to end at a trusted root): its answer shows the signatures and their digests, not"
  echo "the chain; the chain to the test authority was checked with osslsigncode above"
elif [ "$untrusted_before" = "${#shipped[@]}" ]; then
  echo "WinVerifyTrust under Wine refused all ${#shipped[@]} binaries before the test authority was a trusted root"
else
  fail "WinVerifyTrust trusted some binaries, not all, before the test authority was a trusted root"
fi
echo "the package's signatures verify"
