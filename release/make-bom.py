#!/usr/bin/env python3
"""Writes the package's bill of materials (CycloneDX 1.5, JSON) on standard output.

It is read from what the build used, not written by hand: each shipped binary's link map (the
project's in BUILD/link-maps, Qt's in the Qt build folder) names the archives and objects the
linker took in; dpkg names the Debian package of each of those files, with its version and source
package; minizip's and Qt's versions come from the Debian source trees they were compiled from,
Qt's configure switches from its build's record and the libraries Qt carries inside from the
qt_attribution.json files of the third-party folders its make log compiled. Only the licence of
each Debian source package is this file's own knowledge (SOURCE_LICENCES): Debian's copyright
files are not machine-readable for every package.
"""
import argparse
import datetime
import hashlib
import json
import os
import re
import subprocess
import sys
import urllib.parse

# The licences, in SPDX terms, of what the binaries take from each Debian source package.
SOURCE_LICENCES = {
    'zlib': 'Zlib',
    'libz-mingw-w64': 'Zlib',
    'qtbase-opensource-src': 'LGPL-3.0-only OR GPL-2.0-only OR GPL-3.0-only',
    # The C runtime start-up, mingwex and winpthreads, which is what a binary links of mingw-w64.
    'mingw-w64': 'ZPL-2.1 AND MIT AND BSD-3-Clause',
    'gcc-mingw-w64': 'GPL-3.0-or-later WITH GCC-exception-3.1',
}
# A licence file of the package for each, in licenses/.
LICENCE_FILES = {
    'zlib': 'licenses/minizip.txt',
    'libz-mingw-w64': 'licenses/zlib.txt',
    'qtbase-opensource-src': 'licenses/Qt-LGPL3.txt',
    'mingw-w64': 'licenses/mingw-w64-runtime.txt',
    'gcc-mingw-w64': 'licenses/gcc-runtime.txt',
}
# Libraries the project compiles itself from a Debian source tree in the dependency cache.
BUILT_FROM_SOURCE = {'libminizip.a': ('minizip', 'zlib-src', 'contrib/minizip')}


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def licence(source):
    expr = SOURCE_LICENCES[source]
    if re.fullmatch(r'[A-Za-z0-9.+-]+', expr):
        return [{'license': {'id': expr}}]
    return [{'expression': expr}]


def purl(package, version, **qualifiers):
    q = '&'.join(f'{k}={urllib.parse.quote(v, safe="")}' for k, v in sorted(qualifiers.items()))
    return f'pkg:deb/debian/{package}@{urllib.parse.quote(version, safe="+.~-")}' + (f'?{q}' if q else '')


def map_inputs(path):
    """The archives (with a member taken) and objects that a link map names."""
    archives, objects = set(), set()
    section = None
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('Archive member included'):
                section = 'archives'
                continue
            if line.startswith(('Discarded input sections', 'Memory Configuration', 'Allocating common')):
                section = None
            if line.startswith('Linker script and memory map'):
                section = 'script'
                continue
            if section == 'archives':
                m = re.match(r'^(\S+\.a)\(', line)
                if m:
                    archives.add(m.group(1))
            elif section == 'script':
                m = re.match(r'^LOAD (\S+)$', line)
                if m and not m.group(1).endswith('.a'):
                    objects.add(m.group(1))
    return archives, objects


def debian_package(path, cache):
    """(package, version, source, source version) of the Debian package that installed PATH."""
    real = os.path.realpath(path)
    if real not in cache:
        owner = run('dpkg-query', '-S', real).split(':', 1)[0].split(',')[0].strip()
        fields = run('dpkg-query', '-W', '-f', '${Package}\t${Version}\t${source:Package}\t${source:Version}\t${Architecture}', owner)
        cache[real] = tuple(fields.split('\t'))
    return cache[real]


def changelog(tree, field):
    return run('dpkg-parsechangelog', '-l', os.path.join(tree, 'debian', 'changelog'), '-S' + field).strip()


def main():
    a = argparse.ArgumentParser()
    for name in ('stage', 'build', 'source', 'qt', 'deps', 'product', 'version', 'name'):
        a.add_argument('--' + name, required=True)
    args = a.parse_args()
    distro = dict(line.rstrip('\n').split('=', 1) for line in open('/etc/os-release') if '=' in line)
    codename = distro.get('VERSION_CODENAME', '').strip('"')
    debian_qualifiers = {'distro': f'debian-{distro.get("VERSION_ID", "").strip(chr(34))}'} if codename else {}

    components = {}   # bom-ref -> component
    depends = {}      # bom-ref -> set of bom-refs
    packages = {}

    def debian_component(pkg, version, source, source_version, arch):
        ref = f'deb:{pkg}'
        if ref not in components:
            components[ref] = {
                'type': 'library', 'bom-ref': ref, 'name': pkg, 'version': version,
                'description': f'linked in from the Debian package {pkg} (source package {source} {source_version})',
                'licenses': licence(source),
                'purl': purl(pkg, version, arch=arch, **debian_qualifiers),
                'properties': [
                    {'name': 'debian:source-package', 'value': source},
                    {'name': 'debian:source-version', 'value': source_version},
                    {'name': 'debian:source-purl', 'value': purl(source, source_version, arch='source', **debian_qualifiers)},
                    {'name': 'licence-text', 'value': LICENCE_FILES[source]},
                ],
            }
        return ref

    def source_tree_component(name, tree, subdir):
        ref = f'src:{name}'
        if ref not in components:
            source, version = changelog(tree, 'Source'), changelog(tree, 'Version')
            components[ref] = {
                'type': 'library', 'bom-ref': ref, 'name': name, 'version': version,
                'description': f'compiled by this project from {subdir} of the Debian source package {source} {version}',
                'licenses': licence(source),
                'purl': purl(source, version, arch='source', **debian_qualifiers),
                'properties': [
                    {'name': 'debian:source-package', 'value': source},
                    {'name': 'source-folder', 'value': subdir},
                    {'name': 'licence-text', 'value': LICENCE_FILES[source]},
                ],
            }
        return ref

    def runtime_refs(archives, objects):
        refs = set()
        for path in sorted(archives | objects):
            base = os.path.basename(path)
            if base in BUILT_FROM_SOURCE:
                name, tree, subdir = BUILT_FROM_SOURCE[base]
                refs.add(source_tree_component(name, os.path.join(args.deps, tree), subdir))
            elif base == 'libQt5Core.a':
                refs.add('file:Qt5Core.dll')
            elif os.path.realpath(path).startswith('/usr/'):
                # The machine's own files (the project's and Qt's are elsewhere): a Debian package's.
                refs.add(debian_component(*debian_package(path, packages)))
        return refs

    # Qt 5 Core: the version of its Debian source tree, its configure switches, what it carries.
    qt_src = os.path.join(args.deps, 'qtbase-src')
    qt_source, qt_version = changelog(qt_src, 'Source'), changelog(qt_src, 'Version')
    with open(os.path.join(args.qt, '.complete')) as f:
        switches = f.read().strip().replace(os.path.realpath(args.qt), 'PREFIX').replace(args.qt, 'PREFIX')
        switches = switches.replace(os.path.realpath(args.deps), 'CACHE').replace(args.deps, 'CACHE')
    qt_archives, qt_objects = map_inputs(os.path.join(args.qt, 'Qt5Core.map'))
    # The third-party folders of Qt's source whose files its build compiled (its make log).
    compiled = set()
    with open(os.path.join(args.qt, 'make.log'), encoding='utf-8', errors='replace') as f:
        for line in f:
            m = re.search(r'\s\S*/src/3rdparty/([^/\s]+)/\S+\.(?:c|cc|cpp)\s*$', line)
            if m:
                compiled.add(m.group(1))
    bundled = []
    third = os.path.join(qt_src, 'src', '3rdparty')
    for entry in sorted(compiled):
        attribution = os.path.join(third, entry, 'qt_attribution.json')
        if not os.path.isfile(attribution):
            continue
        with open(attribution) as f:
            data = json.load(f, strict=False)  # some hold line breaks inside strings
        for item in data if isinstance(data, list) else [data]:
            c = {'type': 'library', 'bom-ref': f'qt3rdparty:{item.get("Id", entry)}',
                 'name': item.get('Name', entry), 'version': item.get('Version', 'unknown'),
                 'description': f'carried inside Qt5Core.dll (src/3rdparty/{entry} of {qt_source})'}
            if item.get('LicenseId'):
                c['licenses'] = [{'expression': item['LicenseId']}]
            bundled.append(c)
    components['src:qtbase'] = {
        'type': 'framework', 'bom-ref': 'src:qtbase', 'name': 'Qt 5 Core', 'version': qt_version,
        'description': f'built by scripts/build-qt.sh from the Debian source package {qt_source} {qt_version}',
        'licenses': licence(qt_source),
        'purl': purl(qt_source, qt_version, arch='source', **debian_qualifiers),
        'properties': [
            {'name': 'debian:source-package', 'value': qt_source},
            {'name': 'qt:configure-switches', 'value': switches},
            {'name': 'licence-text', 'value': LICENCE_FILES[qt_source]},
        ],
    }
    if bundled:
        components['src:qtbase']['components'] = bundled

    # The shipped binaries, each with what its link took in.
    shipped = []
    for f in sorted(os.listdir(args.stage)):
        path = os.path.join(args.stage, f)
        if not f.lower().endswith(('.dll', '.exe')) or not os.path.isfile(path):
            continue
        with open(path, 'rb') as fh:
            digest = hashlib.sha256(fh.read()).hexdigest()
        ref = f'file:{f}'
        shipped.append({'type': 'application' if f.endswith('.exe') else 'library', 'bom-ref': ref,
                        'name': f, 'version': qt_version if f == 'Qt5Core.dll' else args.version,
                        'hashes': [{'alg': 'SHA-256', 'content': digest}]})
        if f == 'Qt5Core.dll':
            depends[ref] = {'src:qtbase'} | runtime_refs(qt_archives, qt_objects)
        else:
            link_map = os.path.join(args.build, 'link-maps', f + '.map')
            if not os.path.isfile(link_map):
                sys.exit(f'make-bom.py: no link map for {f} ({link_map})')
            depends[ref] = runtime_refs(*map_inputs(link_map))

    epoch = int(os.environ.get('SOURCE_DATE_EPOCH', '0'))
    bom = {
        '$schema': 'http://cyclonedx.org/schema/bom-1.5.schema.json',
        'bomFormat': 'CycloneDX', 'specVersion': '1.5', 'version': 1,
        'metadata': {
            'timestamp': datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc).strftime('%Y-%m-%dT%H:%M:%SZ'),
            'component': {'type': 'application', 'bom-ref': 'package', 'name': args.name,
                          'version': args.version, 'description': args.product},
        },
        'components': shipped + [components[k] for k in sorted(components)],
        'dependencies': [{'ref': 'package', 'dependsOn': sorted(c['bom-ref'] for c in shipped)}]
                        + [{'ref': r, 'dependsOn': sorted(d)} for r, d in sorted(depends.items())],
    }
    json.dump(bom, sys.stdout, indent=2, sort_keys=False)
    sys.stdout.write('\n')


if __name__ == '__main__':
    main()
