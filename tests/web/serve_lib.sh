# Shared by the page's scripts (source it): serves a folder over HTTP.

# Serves DIR on a free port of 127.0.0.1 until the calling script ends, and
# waits until it answers; sets $port.
serve_page() {
  port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
  python3 -m http.server --bind 127.0.0.1 --directory "$1" "$port" >/dev/null 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null || true' EXIT
  trap 'exit 130' INT TERM
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
    sleep 0.1
  done
}
