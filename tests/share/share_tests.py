#!/usr/bin/env python3
"""The deployment onto a real network share (scripts/test-share.sh): hostrun plays the shared
library installation under Wine onto \\\\wiraxsrv\\..., and this driver checks the server's own
folders from the Unix side, byte for byte against the sample media.

    share_tests.py deploy | server-loss | read-only | full | readers

Needs the share started (the CTest fixture runs test-share.sh start) and BUILD_DIR."""
import os
import re
import subprocess
import sys
import threading
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("BUILD_DIR", os.path.join(ROOT, "build"))
BIN = os.path.join(BUILD, "bin")
WORK = os.path.join(BUILD, "share-tests")
SHARE_SCRIPT = os.path.join(ROOT, "scripts", "test-share.sh")

# The manufacturers the scenarios choose, in the order of the manufacturer table: folder, archive base.
MANUFACTURERS = [("AB", "ab"), ("ABB", "abb")]
TEMPORARY = re.compile(r"^~wxp[0-9A-Fa-f]+\.tmp$")


def share_env():
    out = subprocess.run([SHARE_SCRIPT, "env"], check=True, capture_output=True, text=True).stdout
    values = {}
    for line in out.splitlines():
        key, _, value = line.partition("=")
        values[key] = value
    return values


SHARE = share_env()
EXPORT = os.path.join(SHARE["SHARE_DIR"], "export")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def winpath(path):
    return "Z:" + path.replace("/", "\\")


def scenario(media, support, symbols, media_options="", answer=""):
    """A deployment with the typical choices onto the two shared folders typed as UNC paths."""
    lines = [
        "plugin WiraxUI", "setup-mode 6", "target-platform x64",
        'sample-media "%s" %s' % (winpath(media), media_options), "language en-us",
        'deployment-folder "C:\\WiraxDeploy\\"', 'install-path "C:\\WiraxDeploy\\"', "product WIRAX_MAIN state=2",
    ]
    for name, value in [("PLNDVERSION", "2027"), ("PLNDPRODUCTID", "0410"), ("PLNDLOCALEID", "1033"),
                        ("LANG2LONG", "en-us"), ("DRAWINGSTANDARD", "IEC"), ("SYMBOLLIBRARY", ""),
                        ("WIRAXDEFAULTFOLDER", "Wirax 2027"), ("Manufacturer", "Tarvena"),
                        ("SHAREDSUPPORT", "0"), ("SHAREDSYMBOL", "0"),
                        ("NETSHAREDSUPPORTPATH", support + "\\"), ("NETSHAREDSYMLIBPATH", symbols + "\\")]:
        lines.append('property WIRAX_MAIN %s "%s"' % (name, value))
    lines += ["call InitializeProduct_WRX", "call ManufacturerContentPage"]
    lines += ['user check 1205 "%s"' % folder for folder, _ in MANUFACTURERS]
    lines += ["user commit", "call SharedLibraryPage", "user check 1159", 'user type 1021 "%s"' % support,
              "user check 1160", 'user type 1022 "%s"' % symbols] + (["user answer " + answer] if answer else []) + ["user commit",
              "call CheckBeforeInstall", "call InstallSharedLibrary"]
    return "\n".join(lines) + "\n"


def hostrun_command(folder, text):
    path = os.path.join(folder, "scenario.txt")
    with open(path, "w", newline="\r\n") as f:
        f.write(text)
    temp = os.path.join(folder, "temp")
    os.makedirs(temp, exist_ok=True)
    env = dict(os.environ, TMP=winpath(temp), TEMP=winpath(temp),
               WIRAX_TOOL_JOURNAL=winpath(os.path.join(folder, "tools.log")),
               HOSTRUN_PROGRESS_LOG=winpath(os.path.join(folder, "progress.log")))
    command = [os.path.join(ROOT, "scripts", "wine-exec.sh"), os.path.join(BIN, "hostrun.exe"), winpath(path), "--facts", "-"]
    return command, env


def fresh(name):
    folder = os.path.join(WORK, name)
    subprocess.run(["rm", "-rf", folder], check=True)
    os.makedirs(folder)
    return folder


def play(folder, text, limit=600):
    """Plays a scenario to its end; returns (InstallSharedLibrary's result or None, facts)."""
    if os.path.exists(os.path.join(folder, "progress.log")):
        os.remove(os.path.join(folder, "progress.log"))
    command, env = hostrun_command(folder, text)
    done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=limit)
    with open(os.path.join(folder, "hostrun.out"), "a") as f:
        f.write(done.stdout + done.stderr)
    match = re.search(r"^return InstallSharedLibrary (\d+)\s*$", done.stdout, re.M)
    return (int(match.group(1)) if match else None), done.stdout


def files_below(top):
    found = {}
    for folder, _, names in os.walk(top):
        for name in names:
            path = os.path.join(folder, name)
            found[os.path.relpath(path, top)] = path
    return found


def read(path):
    with open(path, "rb") as f:
        return f.read()


def expected_deployment(media):
    """Every file the deployment of these media leaves below the deployment root, by relative path
    (Support/..., Symbols/...), with its exact bytes."""
    x64 = os.path.join(media, "x64")
    content = os.path.join(x64, "WiraxContent", "PF", "Root", "Wirax")
    language = os.path.join(x64, "en-us", "Wirax")
    expected = {}

    def unpacked(archive, destination):
        with zipfile.ZipFile(archive) as z:
            for info in z.infolist():
                if not info.is_dir():
                    expected[os.path.join(destination, info.filename.replace("\\", "/"))] = z.read(info)

    for archive in sorted(os.listdir(os.path.join(content, "LibZips"))):
        unpacked(os.path.join(content, "LibZips", archive), "Symbols/Libs")
    for folder, base in MANUFACTURERS:
        for suffix, panel in (("", "panel"), ("_mm", "panel_mm")):
            archive = os.path.join(content, "Manufacturer", base + suffix + ".zip")
            if os.path.exists(archive):
                unpacked(archive, "Symbols/Libs/%s/%s" % (panel, folder))

    def tree(source, destination):
        for relative, path in files_below(source).items():
            expected[os.path.join(destination, relative)] = read(path)

    tree(os.path.join(language, "WiraxPS", "PF", "Root", "Wirax", "UDC"), "Support/WxData")
    tree(os.path.join(language, "WiraxPS", "Wirax", "PF", "TRVN", "Root", "UDC", "en-us", "Plc", "Enu"), "Support/WxData/en-us/Plc")
    tree(os.path.join(language, "WiraxContentLP", "PF", "Root", "Wirax", "UDC", "en-us"), "Support/WxData/en-us")

    # The merged databases: each took every chosen manufacturer's data in table order (what the
    # stand-in merge tool writes), then the compaction's line.
    databases = os.path.join(language, "WiraxContentLP", "PF", "Root", "Wirax", "MDBs")
    for target, suffix in (("Support/WxData/en-us/catalogs/default_cat.mdb", "_default_cat_src.mdb"),
                           ("Support/WxData/en-us/catalogs/footprint_lookup.mdb", "_footprint_lookup_src.mdb"),
                           ("Support/WxData/en-us/Plc/wrx_plc.mdb", "_wrx_plc_src.mdb")):
        if target not in expected:
            continue
        data = expected[target]
        for folder, _ in MANUFACTURERS:
            source = os.path.join(databases, folder + suffix)
            taken = read(source).rstrip(b"\r\n") if os.path.exists(source) else b""
            data += b"merged " + folder.encode() + b": " + (taken or b"(no source data)") + b"\n"
        expected[target] = data + b"compacted\n"
    return expected


def compare_whole(root, expected):
    """The tree below root is exactly the expected one."""
    found = files_below(root)
    missing = sorted(set(expected) - set(found))
    extra = sorted(set(found) - set(expected))
    check(not missing, "%d files missing, first %s" % (len(missing), missing[:3]))
    check(not extra, "%d files too many, first %s" % (len(extra), extra[:3]))
    differ = [r for r in expected if read(found[r]) != expected[r]]
    check(not differ, "%d files differ from their source, first %s" % (len(differ), differ[:3]))
    return len(found)


def check_whole_or_none(root, earlier, newer):
    """After a failure: every file is its earlier version, its complete newer one, or absent when it
    had no earlier version; besides them only temporary names. Returns counts per kind."""
    found = files_below(root)
    counts = {"earlier": 0, "newer": 0, "temporary": 0, "absent": 0}
    for relative, path in found.items():
        if TEMPORARY.match(os.path.basename(relative)):
            counts["temporary"] += 1
            continue
        data = read(path)
        if relative in earlier and data == earlier[relative]:
            counts["earlier"] += 1
        elif relative in newer and data == newer[relative]:
            counts["newer"] += 1
        else:
            raise Failure("%s is neither its earlier nor its complete new version (%d bytes)" % (relative, len(data)))
    for relative in earlier:
        check(relative in found, "the earlier version of %s is gone" % relative)
    counts["absent"] = len(set(newer) - set(found))
    return counts


def unc(share, *parts):
    return "\\\\" + SHARE["SHARE_HOST"] + "\\" + share + "".join("\\" + p for p in parts)


def deploy_edition(name, share, folder_name, edition, options=""):
    folder = fresh(name) if not os.path.isdir(os.path.join(WORK, name)) else os.path.join(WORK, name)
    media = os.path.join(folder, "media-%d" % edition)
    text = scenario(media, unc(share, folder_name, "Support"), unc(share, folder_name, "Symbols"),
                    "edition=%d %s" % (edition, options))
    return folder, media, text


# --- the tests ----------------------------------------------------------------------------------

def test_deploy():
    folder = fresh("deploy")
    target = os.path.join(EXPORT, "libs", "Deploy")
    subprocess.run(["rm", "-rf", target], check=True)
    media = os.path.join(folder, "media")
    text = scenario(media, unc("libs", "Deploy", "Support"), unc("libs", "Deploy", "Symbols"))
    started = time.monotonic()
    result, facts = play(folder, text)
    took = time.monotonic() - started
    check("property WIRAX_MAIN NETSHAREDSUPPORTPATH=" + unc("libs", "Deploy", "Support") + "\\" in facts,
          "the page did not take the UNC support folder:\n" + facts[-2000:])
    check(result == 0, "InstallSharedLibrary answered %s:\n%s" % (result, facts[-2000:]))
    files = compare_whole(target, expected_deployment(media))
    print("deployed onto %s in %.1f s: %d files, each identical to its source" % (unc("libs", "Deploy"), took, files))


def wait_for(condition, limit, what):
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.02)
    raise Failure("no %s within %d s" % (what, limit))


def progress_lines(folder):
    try:
        with open(os.path.join(folder, "progress.log")) as f:
            return [line.split() for line in f.read().splitlines() if line.strip()]
    except FileNotFoundError:
        return []


def server(action):
    subprocess.run([SHARE_SCRIPT, "server-" + action], check=True)


# The action must answer within this many seconds of the server's end: the FUSE client gives up on
# a request after smb_timeout (5 s, test-share.sh), and every remaining file of the copy fails fast.
SERVER_LOSS_LIMIT = 90


def test_server_loss():
    folder = fresh("server-loss")
    target = os.path.join(EXPORT, "libs", "Loss")
    subprocess.run(["rm", "-rf", target], check=True)
    # Large enough that the server's end lands in the middle of files: 14 archives of 10 files of
    # 256 KB (35 MB) to unpack, 400 user data files to copy.
    options = "library-files=10 file-bytes=262144 user-files=400"
    media = {}
    for edition in (1, 2):
        media[edition] = os.path.join(folder, "media-%d" % edition)
    texts = {e: scenario(media[e], unc("libs", "Loss", "Support"), unc("libs", "Loss", "Symbols"),
                         "edition=%d %s" % (e, options)) for e in (1, 2)}
    result, facts = play(folder, texts[1])
    check(result == 0, "the first deployment answered %s:\n%s" % (result, facts[-1500:]))
    earlier = expected_deployment(media[1])
    compare_whole(target, earlier)

    # The second edition's media, made beforehand by a scenario that only makes them, so that the
    # deployments below start at once.
    play(folder, "plugin WiraxUI\nsetup-mode 6\ntarget-platform x64\nsample-media \"%s\" edition=2 %s\n"
         % (winpath(media[2]), options))
    newer = expected_deployment(media[2])
    libs_probe = sorted(r for r in newer if r.startswith("Symbols/Libs/") and "/panel" not in r)
    user_probe = sorted(r for r in newer if r.startswith("Support/WxData/Blocks/"))
    check(len(libs_probe) >= 100 and len(user_probe) == 400, "media not as expected: %d, %d" % (len(libs_probe), len(user_probe)))
    text = texts[2].replace('sample-media "%s" edition=2 %s' % (winpath(media[2]), options), 'source-root "%s"' % winpath(media[2]))
    check(text != texts[2], "the scenario did not take the made media")
    report = []
    for moment in ("unpacking", "support copy"):
        def new_files(relatives):
            # Size and first bytes tell the editions apart (they differ in every byte); the whole
            # files are compared after the run.
            n = 0
            for r in relatives:
                try:
                    path = os.path.join(target, r)
                    if os.path.getsize(path) == len(newer[r]):
                        with open(path, "rb") as f:
                            n += f.read(64) == newer[r][:64]
                except OSError:
                    pass
            return n

        command, env = hostrun_command(folder, text)
        if os.path.exists(os.path.join(folder, "progress.log")):
            os.remove(os.path.join(folder, "progress.log"))
        child = subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        output = []
        reader = threading.Thread(target=lambda: output.append(child.stdout.read()))
        reader.start()
        try:
            if moment == "unpacking":
                # Once the first library archive's files are being replaced and before the last is.
                wait_for(lambda: new_files(libs_probe) >= 10, 300, "new library files")
            else:
                wait_for(lambda: any(l[1:3] == ["phase", "2"] for l in progress_lines(folder))
                         and new_files(user_probe) >= 20, 300, "new user data files")
            server("stop")
            stopped = time.monotonic()
            new_at_stop = new_files(libs_probe if moment == "unpacking" else user_probe)
            try:
                child.wait(timeout=SERVER_LOSS_LIMIT)
            except subprocess.TimeoutExpired:
                raise Failure("the deployment did not end within %d s of the server's end" % SERVER_LOSS_LIMIT)
            answered = time.monotonic() - stopped
        finally:
            if child.poll() is None:
                child.kill()
            reader.join()
            server("start")
        facts = "".join(output)
        match = re.search(r"^return InstallSharedLibrary (\d+)\s*$", facts, re.M)
        check(match and match.group(1) == "1603", "the action answered %s, not 1603:\n%s" % (match and match.group(1), facts[-1500:]))
        probe_size = len(libs_probe) if moment == "unpacking" else len(user_probe)
        check(new_at_stop < probe_size, "the server ended after the %s was over" % moment)
        counts = check_whole_or_none(target, earlier, newer)
        report.append("server ended in the %s (%d of %d probed files new): 1603 after %.1f s; files: %s"
                      % (moment, new_at_stop, probe_size, answered, counts))

    # The server is back: a deployment completes and clears what the failures left.
    result, facts = play(folder, text)
    check(result == 0, "the deployment after the server's return answered %s:\n%s" % (result, facts[-1500:]))
    files = compare_whole(target, newer)
    report.append("after the server's return: 0, %d files, each its new version, no temporary names left" % files)
    print("\n".join(report))


def test_read_only():
    folder = fresh("read-only")
    target = os.path.join(EXPORT, "libsro", "Ro")
    subprocess.run(["rm", "-rf", target], check=True)
    for sub in ("Support", "Symbols/Libs"):
        os.makedirs(os.path.join(target, sub))
    with open(os.path.join(target, "Symbols", "Libs", "earlier.txt"), "wb") as f:
        f.write(b"earlier version\n")
    before = {r: read(p) for r, p in files_below(target).items()}
    media = os.path.join(folder, "media")
    support = unc("libsro", "Ro", "Support")
    # The page refuses the folder; its check boxes have raised the shared flags all the same, and
    # the paths come from the properties, so the install step that follows tries the share.
    result, facts = play(folder, scenario(media, support, unc("libsro", "Ro", "Symbols"), answer="ok"))
    refusal = "The folder %s\\ cannot be written." % support
    check(refusal in facts, "no refusal naming %s:\n%s" % (support, facts[-2500:]))
    check(re.search(r"^return SharedLibraryPage page of height \d+, commit refused", facts, re.M),
          "the page's commit was not refused:\n" + facts[-2500:])
    check(result == 1603, "InstallSharedLibrary answered %s, not 1603:\n%s" % (result, facts[-1500:]))
    after = {r: read(p) for r, p in files_below(target).items()}
    check(after == before, "the read-only share changed: %s" % sorted(set(after) ^ set(before)))
    print("page: \"%s\"; deployment: 1603, the share unchanged" % refusal)


def test_full():
    folder = fresh("full")
    target = os.path.join(EXPORT, "libsfull", "Full")
    subprocess.run(["rm", "-rf", target], check=True)
    media = {e: os.path.join(folder, "media-%d" % e) for e in (1, 2)}
    support, symbols = unc("libsfull", "Full", "Support"), unc("libsfull", "Full", "Symbols")
    result, facts = play(folder, scenario(media[1], support, symbols, "edition=1"))
    check(result == 0, "the first deployment answered %s:\n%s" % (result, facts[-1500:]))
    earlier = expected_deployment(media[1])
    compare_whole(target, earlier)
    # The second edition's library files are 512 KB each: more than the share holds.
    result, facts = play(folder, scenario(media[2], support, symbols, "edition=2 file-bytes=524288"))
    check(result == 1603, "the deployment onto the full share answered %s, not 1603:\n%s" % (result, facts[-1500:]))
    counts = check_whole_or_none(target, earlier, expected_deployment(media[2]))
    check(counts["temporary"] == 0, "temporary files left on the full share: %d" % counts["temporary"])
    st = os.statvfs(os.path.join(EXPORT, "libsfull"))
    print("full share: 1603, files %s, %d KB free" % (counts, st.f_bavail * st.f_frsize // 1024))


def write_tree(root, files):
    for relative, data in files.items():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def reader_prefix():
    """The readers are workstations of their own: a Wine prefix other than the deployment's, so
    that only the share stands between them (one prefix's Wine server would also arbitrate)."""
    desktop = os.environ.get("CTEST_RESOURCE_GROUP_0_DESKTOP", "")
    first = os.path.join(BUILD, "wineprefix")
    second = first + "-2"
    if desktop.startswith("id:") and desktop[3:].split(",")[0] not in ("", "1"):
        return first
    return second if os.path.isdir(os.path.join(second, "dosdevices", "unc")) else first


READERS = 4


def test_readers():
    folder = fresh("readers")
    target = os.path.join(EXPORT, "libs", "Readers")
    subprocess.run(["rm", "-rf", target], check=True)
    media = {e: os.path.join(folder, "media-%d" % e) for e in (1, 2)}
    support, symbols = unc("libs", "Readers", "Support"), unc("libs", "Readers", "Symbols")
    options = "library-files=10 file-bytes=65536 user-files=200"
    result, facts = play(folder, scenario(media[1], support, symbols, "edition=1 " + options))
    check(result == 0, "the first deployment answered %s:\n%s" % (result, facts[-1500:]))
    earlier = expected_deployment(media[1])
    compare_whole(target, earlier)
    play(folder, "plugin WiraxUI\nsetup-mode 6\ntarget-platform x64\nsample-media \"%s\" edition=2 %s\n" % (winpath(media[2]), options))
    newer = expected_deployment(media[2])
    write_tree(os.path.join(folder, "earlier"), earlier)
    write_tree(os.path.join(folder, "newer"), newer)
    stop = os.path.join(folder, "stop")

    prefix = reader_prefix()
    env = {k: v for k, v in os.environ.items() if k not in ("WIRAX_SHOWS_WINDOWS", "CTEST_RESOURCE_GROUP_0_DESKTOP")}
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all")
    readers = [subprocess.Popen(["/usr/lib/wine/wine64", os.path.join(BIN, "sharereader.exe"), unc("libs", "Readers"),
                                 winpath(os.path.join(folder, "earlier")), winpath(os.path.join(folder, "newer")), winpath(stop)],
                                env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True) for _ in range(READERS)]
    try:
        text = scenario(media[2], support, symbols, "edition=2 " + options).replace(
            'sample-media "%s" edition=2 %s' % (winpath(media[2]), options), 'source-root "%s"' % winpath(media[2]))
        started = time.monotonic()
        result, facts = play(folder, text)
        took = time.monotonic() - started
    finally:
        open(stop, "w").close()
        outputs = [r.communicate(timeout=300) for r in readers]
    counts = []
    for (out, err), r in zip(outputs, readers):
        match = re.search(r"reads (\d+) earlier (\d+) newer (\d+) absent (\d+) unreadable (\d+) mixed (\d+) passes (\d+)", out)
        check(match, "a reader said: %s %s" % (out, err))
        counts.append([int(x) for x in match.groups()])
        check(r.returncode == 0 and counts[-1][5] == 0, "a reader saw partial or mixed files: %s %s" % (out, err[-800:]))
    print("%d readers in %s while the deployment ran (%.1f s, result %s):" % (READERS, os.path.basename(prefix), took, result))
    for c in counts:
        print("  reads %d: earlier %d, new %d, absent %d, unreadable %d, mixed %d (%d passes)" % tuple(c))
    check(result == 0, "the deployment under readers answered %s:\n%s" % (result, facts[-2500:]))
    check(sum(c[2] for c in counts) > 0, "no reader saw a new version")
    compare_whole(target, newer)


TESTS = {"readers": test_readers, "deploy": test_deploy, "server-loss": test_server_loss, "read-only": test_read_only, "full": test_full}

if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in TESTS:
        sys.exit("usage: share_tests.py " + "|".join(TESTS))
    os.makedirs(WORK, exist_ok=True)
    started = time.monotonic()
    try:
        TESTS[sys.argv[1]]()
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("FAILED: %s" % failure)
        sys.exit(1)
    print("share test %s passed in %.1f s" % (sys.argv[1], time.monotonic() - started))
