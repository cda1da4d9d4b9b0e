#!/usr/bin/env bash
# Makes a test certificate authority and a code-signing certificate issued by it, for builds that
# were given no certificate of their own: so that every build signs for real. Kept in DIR (the
# build folder's test-signing/), never in the repository; made once per folder.
# Usage: test-ca.sh DIR. Leaves ca.crt (PEM) and ca.der, signer.p12 and its password in DIR.
set -euo pipefail
dir=$1
[ -f "$dir/.complete" ] && exit 0
rm -rf "$dir"
mkdir -p "$dir"
chmod 700 "$dir"
cd "$dir"
days=3650
openssl req -x509 -newkey rsa:3072 -nodes -keyout ca.key -out ca.crt -days "$days" -sha256 \
  -subj "/O=Tarvena test signing/CN=Tarvena Test Root CA (not trusted)" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  2>/dev/null
openssl req -newkey rsa:3072 -nodes -keyout signer.key -out signer.csr -sha256 \
  -subj "/O=Tarvena test signing/CN=Tarvena Test Code Signing" 2>/dev/null
cat > signer.ext <<EXT
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EXT
openssl x509 -req -in signer.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out signer.crt \
  -days "$days" -sha256 -extfile signer.ext 2>/dev/null
openssl x509 -in ca.crt -outform DER -out ca.der
openssl rand -hex 16 > password
chmod 600 password ca.key signer.key
openssl pkcs12 -export -inkey signer.key -in signer.crt -certfile ca.crt -out signer.p12 \
  -passout file:password -name "Tarvena Test Code Signing"
touch .complete
