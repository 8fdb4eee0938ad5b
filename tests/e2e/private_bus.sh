# shellcheck shell=bash
# Sourced by the scripts that run a session bus of their own (dbus-run-session --config-file),
# and dunst on it.

# private_bus_config FILE LISTEN_DIR [SERVICE_DIR]: a bus that activates nothing of the
# machine's; with a service directory, only what is in it.
private_bus_config() {
    local services=""
    [[ -n ${3:-} ]] && services="<servicedir>$3</servicedir>"
    cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$2</listen>
  <auth>EXTERNAL</auth>
  $services
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}

# dunst_start WORKDIR: dunst with WORKDIR/dunstrc as the bus's notification server, logging to
# WORKDIR/dunst.log; returns once it answers. Sets dunst_pid for the caller to end it.
dunst_start() {
    dunst -config "$1/dunstrc" >"$1/dunst.log" 2>&1 &
    dunst_pid=$!
    local _
    for _ in $(seq 100); do
        dunstctl is-paused >/dev/null 2>&1 && break
        sleep 0.1
    done
}
