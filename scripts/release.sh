#!/usr/bin/env bash
# The release command: builds the release preset, signs the program with Authenticode when a
# certificate and its key are given, writes a SHA-256 checksum file beside it and prints what
# it made.
#
#   scripts/release.sh [FOLDER]      the release goes to FOLDER (default build/dist)
#
# Signing takes files, which never belong in the repository:
#   LV_SIGN_CERT               the code-signing certificate, then any intermediate
#                              certificates of its chain (PEM or DER)
#   LV_SIGN_KEY                its private key (PEM or DER)
#   LV_SIGN_KEY_PASSWORD_FILE  a file holding the key's password, when it has one (optional)
#   LV_SIGN_TIMESTAMP_URL      an RFC 3161 time-stamp service (optional)
# Without LV_SIGN_CERT and LV_SIGN_KEY the program ships unsigned, and the command says so.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"

out=$(realpath -m "${1:-$LV_ROOT/build/dist}")
fail() {
    echo "release: $*" >&2
    exit 1
}

# The secrets must exist and lie outside the repository; under build/, which git ignores, is
# allowed (the test run keeps its throwaway key there).
signed=0
if [[ -n ${LV_SIGN_CERT:-} || -n ${LV_SIGN_KEY:-} ]]; then
    [[ -n ${LV_SIGN_CERT:-} && -n ${LV_SIGN_KEY:-} ]] ||
        fail "LV_SIGN_CERT and LV_SIGN_KEY go together: name both files or neither"
    for file in "$LV_SIGN_CERT" "$LV_SIGN_KEY" ${LV_SIGN_KEY_PASSWORD_FILE:+"$LV_SIGN_KEY_PASSWORD_FILE"}; do
        [[ -f $file && -r $file ]] || fail "cannot read $file"
    done
    for secret in "$LV_SIGN_KEY" ${LV_SIGN_KEY_PASSWORD_FILE:+"$LV_SIGN_KEY_PASSWORD_FILE"}; do
        path=$(realpath "$secret")
        if [[ $path == "$LV_ROOT"/* && $path != "$LV_ROOT"/build/* ]]; then
            fail "$secret lies in the repository: keep keys and passwords outside it"
        fi
    done
    signed=1
fi

"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
built="$LV_ROOT/build/release/assistant/UpgradeAssistant.exe"
version=$(sed -n 's/^LV_VERSION:INTERNAL=//p' "$LV_ROOT/build/release/CMakeCache.txt")
description=$(python3 "$LV_ROOT/scripts/product_config.py" LV_FILE_DESCRIPTION)
site="https://$(python3 "$LV_ROOT/scripts/product_config.py" SignupHostInternational)/"

name=$(basename "$built")
mkdir -p "$out"
rm -f "$out/$name" "$out/$name.sha256"
if ((signed)); then
    args=(sign -certs "$LV_SIGN_CERT" -key "$LV_SIGN_KEY" -h sha256 -n "$description" -i "$site"
        -in "$built" -out "$out/$name")
    [[ -z ${LV_SIGN_KEY_PASSWORD_FILE:-} ]] || args+=(-readpass "$LV_SIGN_KEY_PASSWORD_FILE")
    [[ -z ${LV_SIGN_TIMESTAMP_URL:-} ]] || args+=(-ts "$LV_SIGN_TIMESTAMP_URL")
    log=$(osslsigncode "${args[@]}" 2>&1) || {
        printf '%s\n' "$log" >&2
        fail "signing failed"
    }
else
    cp "$built" "$out/$name"
fi
(cd "$out" && sha256sum "$name" >"$name.sha256")

# cert_field OPTION: a field of the signing certificate (the file's first), PEM or DER.
cert_field() {
    openssl x509 -in "$LV_SIGN_CERT" -noout "$1" 2>/dev/null ||
        openssl x509 -inform DER -in "$LV_SIGN_CERT" -noout "$1"
}
commit=$(git -C "$LV_ROOT" rev-parse --short=12 HEAD 2>/dev/null || echo "unknown")
[[ -z $(git -C "$LV_ROOT" status --porcelain 2>/dev/null) ]] || commit+=" with uncommitted changes"

echo "release $version of $description (commit $commit)"
echo "  $out/$name: $(stat -c %s "$out/$name") bytes"
if ((signed)); then
    echo "  signed with Authenticode (SHA-256) by the certificate:"
    echo "    $(cert_field -subject)"
    echo "    $(cert_field -issuer)"
    echo "    $(cert_field -enddate)"
    if [[ -n ${LV_SIGN_TIMESTAMP_URL:-} ]]; then
        echo "    time-stamped by $LV_SIGN_TIMESTAMP_URL"
    else
        echo "    not time-stamped: the signature counts only while the certificate is valid"
    fi
else
    echo "  NOT signed: no certificate given (LV_SIGN_CERT and LV_SIGN_KEY); the program ships unsigned"
fi
echo "  $out/$name.sha256: SHA-256 $(cut -d' ' -f1 "$out/$name.sha256")"
echo "  the build before signing: SHA-256 $(sha256sum "$built" | cut -d' ' -f1)"
echo "    (a release build of the same sources gives the same bytes)"
