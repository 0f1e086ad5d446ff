#!/usr/bin/env bash
# A setup file signed with a throw-away certificate installs and uninstalls like an unsigned one,
# and the uninstaller it writes reads as unsigned rather than as carrying a broken signature.
# The signing tools are Linux programs, so this script surrounds two runs under Wine:
#   1. scrpack.exe makes the setup file from a project file, and the Linux scrpack makes the same
#      bytes from the same inputs; scrpack.exe refuses to write over its screen saver;
#   2. openssl makes a certificate, osslsigncode signs the setup file;
#   3. the Windows steps install it, check the uninstaller, copy it back, and uninstall;
#   4. osslsigncode looks at the copied uninstaller;
#   5. before step 3, the Linux scrpack signs with osslsigncode itself (--sign-command): the setup
#      file and the uninstaller that `scrpack uninstaller` writes from it verify against a test
#      CA, and so do the uninstaller that setup file installs and its temporary copy;
#   6. another program, texts, a record and a marker hidden in that signed file's certificate
#      table (its two sizes enlarged to match) leave the signature valid, but scrpack calls the
#      file tampered and the Windows steps see it install nothing.
#
#   tests/e2e/signed_test.sh --work DIR --runner E2E-RUN --stub STUB.EXE --scrpack SCRPACK.EXE
#                            --linux-scrpack SCRPACK --saver PROGRAM.EXE --recorder RECORDER.EXE
#                            --steps STEPS.EXE
set -uo pipefail

usage() {
  sed -n '2,16p' "$0" >&2
  exit 2
}

fail() {
  echo "signed_test: $*" >&2
  exit 1
}

work="" runner="" stub="" scrpack="" linux_scrpack="" saver="" recorder="" steps=""
while [ $# -gt 0 ]; do
  case "$1" in
    --work) work=$2; shift 2 ;;
    --runner) runner=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --scrpack) scrpack=$2; shift 2 ;;
    --linux-scrpack) linux_scrpack=$2; shift 2 ;;
    --saver) saver=$2; shift 2 ;;
    --recorder) recorder=$2; shift 2 ;;
    --steps) steps=$2; shift 2 ;;
    *) usage ;;
  esac
done
[ -n "$work" ] && [ -n "$runner" ] && [ -n "$stub" ] && [ -n "$scrpack" ] && [ -n "$linux_scrpack" ] &&
  [ -n "$saver" ] && [ -n "$recorder" ] && [ -n "$steps" ] || usage
[ -x "$linux_scrpack" ] || fail "$linux_scrpack is missing (build the host tree: make host)"

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

# A screen saver, a readme, and a project file one folder down that names them relatively; its link
# holds a character that UTF-8 and Windows-1252 write differently. The saver must be a Windows GUI
# program, and Wine's shell starts such a file instead of handing it to the "install" verb: the
# recorder serves, as it ends at once and so leaves the file free for the uninstaller to delete.
cp "$saver" "$files/signed.scr" || fail "cannot copy $saver"
printf 'Signed and sealed.\r\nEnjoy.' >"$files/readme.txt"
mkdir -p "$files/project"
printf '%s\n' "# The stub and the output are given on the command line." "saver = ../signed.scr" \
  "title = Signed Stars" "readme = ../readme.txt" $'link = http://www.example.com/\xc3\xa9toiles' \
  "uninstall-entry = yes" >"$files/project/signed.scrproj"

echo "== making the setup file with scrpack.exe and with the Linux scrpack"
"$runner" --work "$work/pack" --stub "$stub" -- "$scrpack" build \
  --project "$(to_windows "$files/project/signed.scrproj")" \
  --stub "$(to_windows "$stub")" -o "$(to_windows "$files")\\setup.exe" || fail "scrpack.exe could not make the setup file"
[ -s "$files/setup.exe" ] || fail "scrpack.exe wrote no setup file"
(cd / && "$linux_scrpack" build --project "$files/project/signed.scrproj" --stub "$stub" -o "$files/setup-linux.exe") ||
  fail "the Linux scrpack could not make the setup file"
cmp "$files/setup.exe" "$files/setup-linux.exe" || fail "scrpack.exe and the Linux scrpack wrote different files"
LC_ALL=C grep -qaF $'http://www.example.com/\xe9toiles' "$files/setup.exe" ||
  fail "the link was not converted to Windows-1252"

# Windows names a file in any capitals: the output named so is still the screen saver, and
# scrpack.exe must see that rather than replace it.
echo "== scrpack.exe refuses an output that is its screen saver in other capitals"
"$runner" --work "$work/pack-over" --stub "$stub" -- "$scrpack" build \
  --project "$(to_windows "$files/project/signed.scrproj")" \
  --stub "$(to_windows "$stub")" -o "$(to_windows "$files")\\SIGNED.SCR" >"$files/over.log" 2>&1
over_status=$?
cat "$files/over.log"
[ "$over_status" -eq 2 ] || fail "scrpack.exe ended with $over_status, not 2, for an output that is its screen saver"
grep -q "is the same file as .*saver" "$files/over.log" || fail "scrpack.exe did not say that the output is the screen saver"
cmp "$saver" "$files/signed.scr" || fail "scrpack.exe changed the screen saver"

echo "== signing it"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throw-away test signer" \
  -keyout "$files/key.pem" -out "$files/cert.pem" >"$files/openssl.log" 2>&1 ||
  { cat "$files/openssl.log" >&2; fail "openssl could not make a certificate"; }
osslsigncode sign -certs "$files/cert.pem" -key "$files/key.pem" -n "Signed Stars" \
  -in "$files/setup.exe" -out "$files/signed.exe" >"$files/sign.log" 2>&1 ||
  { cat "$files/sign.log" >&2; fail "osslsigncode could not sign"; }
osslsigncode verify -CAfile "$files/cert.pem" -in "$files/signed.exe" >"$files/verify-signed.log" 2>&1 ||
  { cat "$files/verify-signed.log" >&2; fail "the signed setup file does not verify"; }
"$linux_scrpack" verify "$files/signed.exe" || fail "scrpack verify says the signed setup file would not start"
"$linux_scrpack" inspect "$files/signed.exe" | grep -qx 'CertificateTable: yes' ||
  fail "scrpack inspect does not see the signature"

echo "== scrpack signs the uninstaller and the setup file itself"
# A CA and a code-signing certificate it issued, as an author's would be; no time stamp, no network.
{
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throw-away test CA" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
    -keyout "$files/ca-key.pem" -out "$files/ca.pem" &&
    openssl req -newkey rsa:2048 -nodes -subj "/CN=Throw-away test author" \
      -keyout "$files/leaf-key.pem" -out "$files/leaf.csr" &&
    printf '%s\n' extendedKeyUsage=codeSigning keyUsage=critical,digitalSignature \
      basicConstraints=CA:FALSE >"$files/leaf.ext" &&
    openssl x509 -req -in "$files/leaf.csr" -CA "$files/ca.pem" -CAkey "$files/ca-key.pem" \
      -CAcreateserial -days 2 -extfile "$files/leaf.ext" -out "$files/leaf.pem"
} >"$files/openssl-ca.log" 2>&1 || { cat "$files/openssl-ca.log" >&2; fail "openssl could not make a CA and a certificate"; }
sign_command="osslsigncode sign -certs '$files/leaf.pem' -key '$files/leaf-key.pem' -n 'Signed Stars' -h sha256 -in {in} -out {out}"
(cd / && "$linux_scrpack" build --project "$files/project/signed.scrproj" --stub "$stub" --publisher "Throw-away Ltd" \
  --version 1.0 --sign-command "$sign_command" -o "$files/self-signed.exe") >"$files/self-signed.log" 2>&1 ||
  { cat "$files/self-signed.log" >&2; fail "scrpack could not sign with osslsigncode"; }
ls "$files"/self-signed.exe.* >/dev/null 2>&1 && fail "scrpack left temporary files: $(ls "$files"/self-signed.exe.*)"
osslsigncode verify -CAfile "$files/ca.pem" -in "$files/self-signed.exe" >"$files/verify-self-signed.log" 2>&1 ||
  { cat "$files/verify-self-signed.log" >&2; fail "the setup file scrpack signed does not verify"; }
"$linux_scrpack" verify "$files/self-signed.exe" >"$files/scrpack-verify.log" ||
  { cat "$files/scrpack-verify.log" >&2; fail "scrpack verify finds the setup file it signed damaged"; }
grep -qx 'UninstallerSignature: fits' "$files/scrpack-verify.log" ||
  { cat "$files/scrpack-verify.log" >&2; fail "the signed setup file carries no fitting uninstaller signature"; }
"$linux_scrpack" uninstaller "$files/self-signed.exe" -o "$files/self-signed-uninstaller.exe" ||
  fail "scrpack could not write the uninstaller of the signed setup file"
osslsigncode verify -CAfile "$files/ca.pem" -in "$files/self-signed-uninstaller.exe" >"$files/verify-un.log" 2>&1 ||
  { cat "$files/verify-un.log" >&2; fail "the uninstaller the signed setup file installs does not verify"; }

echo "== a package hidden in the certificate table of the signed setup file"
# The table lies at the end of the file; the signature's hash covers everything in front of it
# and nothing in it. The forged package goes behind the signature blob, inside the table, and the
# WIN_CERTIFICATE's length and the header's table size grow by as much.
python3 - "$files/self-signed.exe" "$steps" "$files/forged.exe" <<'FORGE' || fail "could not forge a package into the certificate table"
import struct, sys
source, program, target = sys.argv[1:4]
data = bytearray(open(source, 'rb').read())
optional = struct.unpack_from('<I', data, 0x3C)[0] + 24
entry = optional + (112 if struct.unpack_from('<H', data, optional)[0] == 0x20B else 96) + 32
position, size = struct.unpack_from('<II', data, entry)
assert position + size == len(data), 'the table is not at the end'
end = data.rfind(b'ZUZOri.sig', 0, position) + 10
record = bytearray(data[end - 942:end - 10])
image, readme = open(program, 'rb').read(), b'Not from the author.'
struct.pack_into('<iiii', record, 400, len(readme), len(readme), 0, 0)
struct.pack_into('<i', record, 0, len(image) + len(readme) + 942)
record[416] = 0  # announces no block
forged = image + readme + bytes(record) + b'ZUZOri.sig'
forged += b'\0' * (-len(forged) % 8)
struct.pack_into('<I', data, position, struct.unpack_from('<I', data, position)[0] + len(forged))
struct.pack_into('<I', data, entry + 4, size + len(forged))
open(target, 'wb').write(data + forged)
FORGE
osslsigncode verify -CAfile "$files/ca.pem" -in "$files/forged.exe" >"$files/verify-forged.log" 2>&1 ||
  { cat "$files/verify-forged.log" >&2; fail "the forged file no longer verifies, so this check proves less than it should"; }
for command in verify inspect; do
  "$linux_scrpack" "$command" "$files/forged.exe" >"$files/scrpack-$command-forged.log" 2>&1 &&
    { cat "$files/scrpack-$command-forged.log" >&2; fail "scrpack $command accepts the forged file"; }
  grep -q "tampered" "$files/scrpack-$command-forged.log" ||
    { cat "$files/scrpack-$command-forged.log" >&2; fail "scrpack $command does not call the forged file tampered"; }
done
cat "$files/scrpack-verify-forged.log"

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

echo "== looking at the uninstaller a self-signed setup file installed, and its temporary copy"
[ -s "$files/self-uninstaller.exe" ] || fail "the Windows steps copied no signed uninstaller back"
cmp "$files/self-uninstaller.exe" "$files/self-signed-uninstaller.exe" ||
  fail "the installed uninstaller differs from the one scrpack says the setup file installs"
for signed_copy in self-uninstaller.exe self-copy.exe; do
  [ -s "$files/$signed_copy" ] || fail "the Windows steps did not copy back $signed_copy"
  osslsigncode verify -CAfile "$files/ca.pem" -in "$files/$signed_copy" >"$files/verify-$signed_copy.log" 2>&1 ||
    { cat "$files/verify-$signed_copy.log" >&2; fail "$signed_copy does not verify against the test CA"; }
done

[ "$steps_status" -eq 0 ] || fail "the Windows steps failed (exit status $steps_status)"

echo "signed_test: passed"
