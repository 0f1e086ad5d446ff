#!/usr/bin/env bash
# A setup file signed with a throw-away certificate installs and uninstalls like an unsigned one,
# and the uninstaller it writes reads as unsigned rather than as carrying a broken signature.
# The signing tools are Linux programs, so this script surrounds two runs under Wine:
#   1. scrpack.exe makes the setup file;
#   2. openssl makes a certificate, osslsigncode signs the setup file;
#   3. the Windows steps install it, check the uninstaller, copy it back, and uninstall;
#   4. osslsigncode looks at the copied uninstaller.
#
#   tests/e2e/signed_test.sh --work DIR --runner E2E-RUN --stub STUB.EXE --scrpack SCRPACK.EXE
#                            --recorder RECORDER.EXE --steps STEPS.EXE
set -uo pipefail

usage() {
  sed -n '2,11p' "$0" >&2
  exit 2
}

work="" runner="" stub="" scrpack="" recorder="" steps=""
while [ $# -gt 0 ]; do
  case "$1" in
    --work) work=$2; shift 2 ;;
    --runner) runner=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --scrpack) scrpack=$2; shift 2 ;;
    --recorder) recorder=$2; shift 2 ;;
    --steps) steps=$2; shift 2 ;;
    *) usage ;;
  esac
done
[ -n "$work" ] && [ -n "$runner" ] && [ -n "$stub" ] && [ -n "$scrpack" ] && [ -n "$recorder" ] && [ -n "$steps" ] || usage

fail() {
  echo "signed_test: $*" >&2
  exit 1
}

for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || fail "$tool is missing (run scripts/bootstrap)"
done

to_windows() {
  local path
  path=$(readlink -f "$1")
  printf 'Z:%s' "${path//\//\\}"
}

files="$work/files"
rm -rf "$files"
mkdir -p "$files" || fail "cannot make $files"

# Any bytes serve as the screen saver; a leading "S" keeps it from looking like a program, which
# the shell would start instead of handing it to the "install" verb.
{ printf 'S'; head -c 199999 /dev/urandom; } >"$files/signed.scr"
printf 'Signed and sealed.\r\nEnjoy.' >"$files/readme.txt"

echo "== making the setup file"
"$runner" --work "$work/pack" --stub "$stub" -- "$scrpack" build \
  --stub "$(to_windows "$stub")" --saver "$(to_windows "$files/signed.scr")" --title "Signed Stars" \
  --readme "$(to_windows "$files/readme.txt")" --uninstall-entry \
  -o "$(to_windows "$files/setup.exe")" || fail "scrpack could not make the setup file"
[ -s "$files/setup.exe" ] || fail "scrpack wrote no setup file"

echo "== signing it"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throw-away test signer" \
  -keyout "$files/key.pem" -out "$files/cert.pem" >"$files/openssl.log" 2>&1 ||
  { cat "$files/openssl.log" >&2; fail "openssl could not make a certificate"; }
osslsigncode sign -certs "$files/cert.pem" -key "$files/key.pem" -n "Signed Stars" \
  -in "$files/setup.exe" -out "$files/signed.exe" >"$files/sign.log" 2>&1 ||
  { cat "$files/sign.log" >&2; fail "osslsigncode could not sign"; }
osslsigncode verify -CAfile "$files/cert.pem" -in "$files/signed.exe" >"$files/verify-signed.log" 2>&1 ||
  { cat "$files/verify-signed.log" >&2; fail "the signed setup file does not verify"; }

echo "== installing and uninstalling under Wine"
# A failure there still leaves the uninstaller copied back when it got that far: it is looked at
# all the same, so that the report names every fault.
steps_status=0
SCR_SIGNED_DIR=$(to_windows "$files") "$runner" --work "$work/run" --stub "$stub" --recorder "$recorder" \
  -- "$steps" || steps_status=$?

# An unsigned file is reported as such ("No signature found"); a header that still points at a
# signature behind the end of the file draws a complaint about that signature as well.
complaint='Ignoring PE signature|[Cc]orrupt|[Mm]alformed|[Tt]runcated'
verify_output() { osslsigncode verify -in "$1" 2>&1; }

echo "== looking at the uninstaller"
[ -s "$files/uninstaller.exe" ] && [ -s "$files/stale.exe" ] || fail "the Windows steps copied no uninstaller back"
if out=$(verify_output "$files/uninstaller.exe"); then
  echo "$out" >&2
  fail "the uninstaller verifies as signed"
fi
echo "$out"
grep -q 'No signature found' <<<"$out" || fail "the uninstaller is not reported as unsigned"
if grep -Eq "$complaint" <<<"$out"; then fail "the uninstaller is reported with a broken signature"; fi

# The same look at an uninstaller whose header was left pointing at the setup file's signature
# must complain; otherwise the check above proves nothing.
stale=$(verify_output "$files/stale.exe")
grep -Eq "$complaint" <<<"$stale" || { echo "$stale" >&2; fail "a stale signature entry goes unnoticed by this check"; }

[ "$steps_status" -eq 0 ] || fail "the Windows steps failed (exit status $steps_status)"
echo "signed_test: passed"
