"""The release command (scripts/release.sh) with a throwaway certificate authority: what it
ships unsigned and signed, that the signature verifies against that authority (osslsigncode)
and that the platform under Wine checks it (WinVerifyTrust), that one changed byte fails
both, and the version information of the release program.

Usage: signing_test.py VERSION_TEST TRUST_PROBE   (the Windows programs of the win build)

The authority, its code-signing certificate and keys are made with openssl for each run in
build/release-signing, which git ignores; none of them is kept anywhere else."""
import hashlib
import os
import shutil
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from wineapp import WINE_RUN, run_cases  # noqa: E402

VERSION_TEST, TRUST_PROBE = sys.argv[1:3]
RELEASE = os.path.join(ROOT, "scripts", "release.sh")
BUILT = os.path.join(ROOT, "build", "release", "assistant", "UpgradeAssistant.exe")
WORK = os.path.join(ROOT, "build", "release-signing")
PKI = os.path.join(WORK, "pki")
NAME = os.path.basename(BUILT)

# WinVerifyTrust answers.
TRUST_E_NOSIGNATURE = "0x800B0100"
TRUST_E_BAD_DIGEST = "0x80096010"
# A signature intact and made for this file: accepted, or its authority not trusted (this
# throwaway one is in no trust store). S_OK from this Wine's WinVerifyTrust proves nothing
# about the authority (it answers so for any intact signature, self-signed too): the
# signer's chain tells, and must show that its root is not trusted.
INTACT = {"0x00000000", "0x800B0109", "0x800B010A"}  # S_OK, CERT_E_UNTRUSTEDROOT, CERT_E_CHAINING
CERT_TRUST_IS_UNTRUSTED_ROOT = 0x20
CERT_TRUST_IS_PARTIAL_CHAIN = 0x10000


def run(args, env=None, check=True):
    r = subprocess.run(args, capture_output=True, text=True, env=env)
    if check and r.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed ({r.returncode}):\n{r.stdout}{r.stderr}")
    return r


def openssl(*args):
    run(["openssl", *args])


def make_pki():
    """A throwaway authority, a code-signing certificate it issued (key with a password) and
    a second, unrelated authority."""
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(PKI)
    p = lambda name: os.path.join(PKI, name)  # noqa: E731
    for ca, subject in (("ca", "Throwaway test authority"), ("other-ca", "Unrelated authority")):
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                "-keyout", p(ca + ".key"), "-out", p(ca + ".pem"), "-subj", "/CN=" + subject,
                "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    with open(p("password"), "w") as f:
        f.write("throwaway-password\n")
    with open(p("signer.ext"), "w") as f:
        f.write("basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                "extendedKeyUsage=codeSigning\n")
    openssl("req", "-newkey", "rsa:2048", "-passout", "file:" + p("password"),
            "-keyout", p("signer.key"), "-out", p("signer.csr"), "-subj", "/CN=Test maker")
    openssl("x509", "-req", "-in", p("signer.csr"), "-CA", p("ca.pem"), "-CAkey", p("ca.key"),
            "-set_serial", "2", "-days", "30", "-extfile", p("signer.ext"), "-out", p("signer.pem"))
    return {"LV_SIGN_CERT": p("signer.pem"), "LV_SIGN_KEY": p("signer.key"),
            "LV_SIGN_KEY_PASSWORD_FILE": p("password")}


def release(folder, signing=None):
    """Runs the release command into build/release-signing/FOLDER; answers its output."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("LV_SIGN_")}
    env.update(signing or {})
    out = os.path.join(WORK, folder)
    return out, run([RELEASE, out], env=env).stdout


def read(path):
    with open(path, "rb") as f:
        return f.read()


def check_checksum_file(folder):
    program = read(os.path.join(folder, NAME))
    with open(os.path.join(folder, NAME + ".sha256")) as f:
        line = f.read()
    assert line == f"{hashlib.sha256(program).hexdigest()}  {NAME}\n", f"checksum file: {line!r}"


def trust(path):
    """WinVerifyTrust's answer, the signer chain's trust error bits and the signer's name."""
    answer, chain, signer = (run([WINE_RUN, TRUST_PROBE, "Z:" + path]).stdout.strip() + " ")\
        .split(" ", 2)
    return answer, int(chain, 16), signer.strip()


def verify(path, ca):
    return run(["osslsigncode", "verify", "-CAfile", os.path.join(PKI, ca), "-in", path],
               check=False)


def unsigned_release_says_so_and_ships_the_build():
    out, text = release("unsigned")
    assert "NOT signed" in text, text
    assert read(os.path.join(out, NAME)) == read(BUILT), "the shipped file is not the build"
    check_checksum_file(out)
    assert trust(os.path.join(out, NAME))[0] == TRUST_E_NOSIGNATURE


def signed_release_verifies_against_its_authority(signing):
    def case():
        out, text = release("signed", signing)
        assert "CN = Test maker" in text and "NOT signed" not in text, text
        program = os.path.join(out, NAME)
        check_checksum_file(out)
        r = verify(program, "ca.pem")
        assert r.returncode == 0, "osslsigncode verify failed:\n" + r.stdout + r.stderr
        assert verify(program, "other-ca.pem").returncode != 0, \
            "the signature verifies against an unrelated authority"
        answer, chain, signer = trust(program)
        assert answer in INTACT and signer == "Test maker", f"WinVerifyTrust: {answer} {signer}"
        assert chain & (CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN), \
            f"the chain of an authority nobody trusts is taken as trusted: {chain:#x}"
        # Taking the signature off gives back the build: anyone can compare a shipped file
        # with a build of their own.
        unsigned = os.path.join(WORK, "signature-removed.exe")
        run(["osslsigncode", "remove-signature", "-in", program, "-out", unsigned])
        assert read(unsigned) == read(BUILT), "without its signature the file is not the build"
    return case


def one_changed_byte_fails_verification():
    program = os.path.join(WORK, "signed", NAME)
    data = bytearray(read(program))
    data[len(data) // 3] ^= 0x01  # inside the code, covered by the signature
    tampered = os.path.join(WORK, "tampered.exe")
    with open(tampered, "wb") as f:
        f.write(data)
    r = verify(tampered, "ca.pem")
    assert r.returncode != 0, "osslsigncode verify accepts the changed file:\n" + r.stdout
    assert trust(tampered)[0] == TRUST_E_BAD_DIGEST, f"WinVerifyTrust: {trust(tampered)}"


def key_inside_the_repository_is_refused():
    env = dict(os.environ, LV_SIGN_CERT=os.path.join(PKI, "signer.pem"),
               LV_SIGN_KEY=os.path.join(ROOT, "README.md"))
    out = os.path.join(WORK, "refused")
    r = run([RELEASE, out], env=env, check=False)
    assert r.returncode != 0 and "lies in the repository" in r.stderr, r.stdout + r.stderr
    assert not os.path.exists(out), "the refused release made files"


def release_program_carries_the_version_information():
    env = dict(os.environ, LV_VERSION_PROGRAM=BUILT)
    env.pop("GTEST_OUTPUT", None)
    r = run([WINE_RUN, VERSION_TEST], env=env, check=False)
    assert r.returncode == 0, r.stdout[-3000:]


signing = make_pki()
sys.exit(run_cases("release_signing", [
    ("Release", "UnsignedReleaseSaysSoAndShipsTheBuild",
     unsigned_release_says_so_and_ships_the_build),
    ("Release", "SignedReleaseVerifiesAgainstItsAuthority",
     signed_release_verifies_against_its_authority(signing)),
    ("Release", "OneChangedByteFailsVerification", one_changed_byte_fails_verification),
    ("Release", "KeyInsideTheRepositoryIsRefused", key_inside_the_repository_is_refused),
    ("Release", "ReleaseProgramCarriesTheVersionInformation",
     release_program_carries_the_version_information),
]))
