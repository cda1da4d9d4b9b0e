#!/usr/bin/env bash
# The package's bill of materials: valid against the published CycloneDX schema (the validator
# from the npm registry that scripts/setup.sh installs), and true to the package and the machine:
# every binary listed with the SHA-256 of the packaged file, every linked component with the
# version dpkg reports now, a licence and a package URL.
# Usage: check-bom.sh PACKAGE.zip VALIDATOR-DIR
set -euo pipefail
package=$1 validator=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "FAILED: $*"; exit 1; }
[ -f "$package" ] || fail "no package at $package"
[ -f "$validator/.complete" ] || fail "no validator in $validator (scripts/setup.sh installs it)"

work=$(mktemp -d /tmp/check-bom.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$package" -d "$work"
folder=$work/$(basename "$package" .zip)
bom=$folder/bom.cdx.json
[ -f "$bom" ] || fail "the package has no bom.cdx.json"

node "$here/validate-bom.cjs" "$validator" "$bom" || fail "the bill of materials does not validate"

# The validator must be able to say no: the same document with a licence that SPDX does not know.
python3 - "$bom" "$work/broken.json" <<'PY'
import json, sys
bom = json.load(open(sys.argv[1]))
for c in bom['components']:
    if any('license' in l for l in c.get('licenses', [])):
        c['licenses'] = [{'license': {'id': 'No-Such-Licence-1.0'}}]
        break
else:
    sys.exit('no component with a licence id to break')
json.dump(bom, open(sys.argv[2], 'w'))
PY
if node "$here/validate-bom.cjs" "$validator" "$work/broken.json" > "$work/broken.log"; then
  fail "the validator accepted a licence id that SPDX does not know"
fi
grep -q 'No-Such-Licence-1.0\|enum' "$work/broken.log" || { cat "$work/broken.log"; fail "the broken document failed for another reason"; }
echo "a copy with an unknown licence id does not validate"

python3 - "$folder" <<'PY'
import hashlib, json, os, subprocess, sys
folder = sys.argv[1]
bom = json.load(open(os.path.join(folder, 'bom.cdx.json')))
comps = {c['bom-ref']: c for c in bom['components']}
deps = {d['ref']: set(d.get('dependsOn', [])) for d in bom['dependencies']}
errors = []

binaries = sorted(f for f in os.listdir(folder) if f.lower().endswith(('.dll', '.exe')))
for f in binaries:
    c = comps.get('file:' + f)
    if not c:
        errors.append(f'{f} is not in the bill of materials'); continue
    digest = hashlib.sha256(open(os.path.join(folder, f), 'rb').read()).hexdigest()
    if [h['content'] for h in c.get('hashes', []) if h['alg'] == 'SHA-256'] != [digest]:
        errors.append(f'{f}: its SHA-256 in the bill of materials is not the packaged file\'s')

def installed(pkg):
    return subprocess.run(['dpkg-query', '-W', '-f', '${Version}', pkg], capture_output=True, text=True).stdout

for c in comps.values():
    if c['bom-ref'].startswith('file:'):
        continue
    if not c.get('licenses'):
        errors.append(f'{c["name"]}: no licence')
    if not c.get('purl', '').startswith('pkg:deb/debian/'):
        errors.append(f'{c["name"]}: no Debian package URL')
    if c['bom-ref'].startswith('deb:') and installed(c['name']) != c['version']:
        errors.append(f'{c["name"]} {c["version"]}: dpkg says {installed(c["name"])!r}')

def linked(binary):
    return {comps[r]['name'] for r in deps.get('file:' + binary, ()) if r in comps}

# What the project knows its binaries link: the runtime everywhere code is, zlib and minizip in
# the electrical plug-in, Qt beside the mechanical one.
expect = {
    'WiraxUI.dll': {'libz-mingw-w64-dev', 'minizip', 'mingw-w64-x86-64-dev', 'g++-mingw-w64-x86-64-posix'},
    'FormwellChecks.dll': {'Qt5Core.dll', 'mingw-w64-x86-64-dev', 'g++-mingw-w64-x86-64-posix'},
    'msidb-edit.exe': {'mingw-w64-x86-64-dev', 'g++-mingw-w64-x86-64-posix'},
    'Qt5Core.dll': {'Qt 5 Core', 'mingw-w64-x86-64-dev', 'g++-mingw-w64-x86-64-posix'},
}
for binary, names in expect.items():
    missing = names - linked(binary)
    if missing:
        errors.append(f'{binary}: {sorted(missing)} not among its components {sorted(linked(binary))}')
if 'minizip' in linked('msidb-edit.exe') or 'Qt5Core.dll' in linked('WiraxUI.dll'):
    errors.append('a binary lists a component it does not link')
# The resource libraries hold resources and an entry point, linked without any runtime.
for binary in ('WiraxUIRes.dll', 'HostRes.dll', 'FormwellUIRes.dll'):
    if linked(binary):
        errors.append(f'{binary} lists {sorted(linked(binary))}, yet links no runtime')
qt = comps.get('src:qtbase', {})
switches = [p['value'] for p in qt.get('properties', []) if p['name'] == 'qt:configure-switches']
if not switches or '-xplatform win32-g++' not in switches[0]:
    errors.append('Qt has no configure switches')
if not qt.get('purl', '').startswith('pkg:deb/debian/qtbase-opensource-src@'):
    errors.append('Qt does not name its Debian source package')

if errors:
    print('\n'.join('FAILED: ' + e for e in errors)); sys.exit(1)
others = sorted({c['name'] + ' ' + c['version'] for r, c in comps.items() if not r.startswith('file:')})
print(f'bill of materials: {len(binaries)} binaries with their SHA-256, components: ' + ', '.join(others))
PY
echo "the bill of materials validates and matches the package"
