#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster listening only on a Unix socket in a
# temporary folder. PostgreSQL refuses to run as root, so the cluster runs as the
# `postgres` system user when started by root.
#   scripts/pg-cluster.sh start   prints the folder; export TOKEIYA_TEST_PG from it
#   scripts/pg-cluster.sh stop DIR
#   scripts/pg-cluster.sh server-stop DIR | server-start DIR | restart DIR   (tests of a
#   server that goes away and comes back)
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        su postgres -s /bin/bash -c "$*"
    else
        bash -c "$*"
    fi
}

case "${1:-}" in
start)
    dir=$(mktemp -d /tmp/tokeiya-pg-XXXXXX)
    chmod 755 "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown postgres "$dir"; fi
    as_owner "'$bindir/initdb' -D '$dir/data' -E UTF8 --locale=C.UTF-8 -A trust -U postgres >'$dir/initdb.log' 2>&1"
    as_owner "'$bindir/pg_ctl' -D '$dir/data' -o \"-k '$dir' -c listen_addresses='' -c fsync=off\" -l '$dir/server.log' -w start >/dev/null"
    echo "$dir"
    ;;
stop)
    dir=${2:?folder}
    as_owner "'$bindir/pg_ctl' -D '$dir/data' -m fast -w stop >/dev/null" || true
    rm -rf "$dir"
    ;;
server-stop)
    # The server goes away; the cluster stays for server-start.
    dir=${2:?folder}
    as_owner "'$bindir/pg_ctl' -D '$dir/data' -m fast -w stop >/dev/null"
    ;;
server-start)
    dir=${2:?folder}
    as_owner "'$bindir/pg_ctl' -D '$dir/data' -o \"-k '$dir' -c listen_addresses='' -c fsync=off\" -l '$dir/server.log' -w start >/dev/null"
    ;;
restart)
    dir=${2:?folder}
    as_owner "'$bindir/pg_ctl' -D '$dir/data' -m fast -w restart >/dev/null"
    ;;
*)
    echo "usage: $0 start | stop DIR | server-stop DIR | server-start DIR | restart DIR" >&2
    exit 2
    ;;
esac
