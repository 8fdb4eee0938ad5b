#!/usr/bin/env bash
# Checks the compiled help file and the manual's HTML sources.
# Usage: check_help.sh <chmls> <KLINGELWART2.chm> <help/ directory with KLINGELWART2.hhp and html/>
set -uo pipefail

chmls=$1
chm=$2
src=$3
failures=0
fail() {
    echo "FEHLER: $*" >&2
    failures=$((failures + 1))
}

# The contents in this order: title|page.
expected_toc=(
    "Einf&uuml;hrung|html/index.html"
    "Das Hauptfenster|html/hauptfenster.html"
    "Der Dialog Optionen|html/optionen.html"
    "Seite Datenbank|html/optionen-datenbank.html"
    "Seite Shell-Anwendung starten|html/optionen-shell.html"
    "Start-Verhalten und Parameter-Format|html/optionen-start.html"
    "Die Anrufliste|html/anrufliste.html"
    "Der Dialog Anrufquellen|html/anrufquellen.html"
    "Der Dialog Telefonb&uuml;cher|html/telefonbuecher.html"
    "Der Dialog Anzeige und Start|html/anzeige.html"
    "Einstellungen in Skripten|html/einstellungen.html"
    "Beispiel: Prozedur in Access|html/access-prozedur.html"
    "Softphone anbinden (Linux)|html/softphone-linux.html"
    "Softphone anbinden (Windows)|html/softphone-windows.html"
    "Fehlermeldungen|html/fehlermeldungen.html"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[[ -s $chm ]] || { echo "FEHLER: Hilfedatei $chm fehlt oder ist leer." >&2; exit 1; }

# --- what the .chm holds -----------------------------------------------------------------------
"$chmls" -p -n list "$chm" 2>/dev/null | sed -n 's#^ */\(.*[^/]\)$#\1#p' >"$work/files"
in_chm() { grep -qxF -- "$1" "$work/files"; }

(cd "$src" && find html -type f | sort) >"$work/sources"
[[ -s $work/sources ]] || fail "Keine HTML-Quellen unter $src/html."
while read -r file; do
    in_chm "$file" || fail "$file fehlt in der Hilfedatei (nicht in [FILES] von KLINGELWART2.hhp?)."
done <"$work/sources"

"$chmls" printsystem "$chm" 2>/dev/null | tr -d '\0' >"$work/system"
default_topic=$(sed -n 's/^(2) *Default topic[^:]*:\(.*[^ ]\) *$/\1/p' "$work/system")
[[ $default_topic == html/index.html ]] ||
    fail "Startseite ist \"$default_topic\" statt \"html/index.html\"."

# Title and target of every entry: lines "Name|Local" in file order.
sitemap_entries() {
    awk '
        /<OBJECT type="text\/sitemap">/ { name = ""; local = "" }
        /param name="Name"/ { if (match($0, /value="[^"]*"/)) name = substr($0, RSTART + 7, RLENGTH - 8) }
        /param name="Local"/ { if (match($0, /value="[^"]*"/)) local = substr($0, RSTART + 7, RLENGTH - 8) }
        /<\/OBJECT>/ { if (name != "" || local != "") print name "|" local; name = ""; local = "" }
    ' "$1"
}

"$chmls" extracttoc "$chm" "$work/toc" >/dev/null 2>&1
if [[ ! -s $work/toc ]]; then
    fail "Die Hilfedatei hat kein Inhaltsverzeichnis."
else
    mapfile -t toc < <(sitemap_entries "$work/toc")
    if [[ "${toc[*]}" != "${expected_toc[*]}" ]]; then
        fail "Inhaltsverzeichnis weicht ab. Erwartet:"
        printf '    %s\n' "${expected_toc[@]}" >&2
        echo "  Gefunden:" >&2
        printf '    %s\n' "${toc[@]}" >&2
    fi
    for entry in "${toc[@]}"; do
        in_chm "${entry#*|}" || fail "Inhaltsverzeichnis: \"${entry%%|*}\" zeigt auf ${entry#*|}, das fehlt."
        # The Windows viewer reads the contents as Windows-1252: umlauts only as entities.
        LC_ALL=C grep -q '[^ -~]' <<<"${entry%%|*}" &&
            fail "Inhaltsverzeichnis: \"${entry%%|*}\" enthält Zeichen außerhalb von ASCII (als &...; schreiben)."
    done
fi

"$chmls" extractindex "$chm" "$work/index" >/dev/null 2>&1
if [[ ! -s $work/index ]]; then
    fail "Die Hilfedatei hat keinen Index."
else
    mapfile -t index < <(sitemap_entries "$work/index")
    ((${#index[@]} >= 10)) || fail "Der Index hat nur ${#index[@]} Einträge."
    for entry in "${index[@]}"; do
        target=${entry#*|}
        in_chm "${target%%#*}" || fail "Index: \"${entry%%|*}\" zeigt auf $target, das fehlt."
    done
fi

# --- HTML sources ----------------------------------------------------------------------------
while read -r file; do
    [[ $file == *.html ]] || continue
    page="$src/$file"
    # Page titles go unchanged into the .chm's topic list, which Windows reads as Windows-1252.
    title=$(tr '\n' ' ' <"$page" | sed -n 's#.*<title>\([^<]*\)</title>.*#\1#p')
    [[ -n $title ]] || fail "$file: kein <title>."
    LC_ALL=C grep -q '[^ -~]' <<<"$title" && fail "$file: Titel \"$title\" enthält Zeichen außerhalb von ASCII."
    grep -qi '<meta charset="utf-8">' "$page" || fail "$file: <meta charset=\"utf-8\"> fehlt."
    iconv -f UTF-8 -t UTF-8 "$page" >/dev/null 2>&1 || fail "$file: kein gültiges UTF-8."
    grep -oE '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="(.*)"$/\2/' |
        while read -r link; do
            case $link in
                http://* | https://* | mailto:*) continue ;;
            esac
            target=${link%%#*}
            anchor=
            [[ $link == *#* ]] && anchor=${link#*#}
            target_file=$page
            if [[ -n $target ]]; then
                target_file="$(dirname "$page")/$target"
                [[ -f $target_file ]] || { echo "FEHLER: $file: Verweis \"$link\" führt ins Leere." >&2; echo x; continue; }
            fi
            if [[ -n $anchor ]] && ! grep -q "id=\"$anchor\"" "$target_file"; then
                echo "FEHLER: $file: Sprungmarke \"$link\" gibt es nicht." >&2
                echo x
            fi
        done >"$work/broken"
    [[ -s $work/broken ]] && failures=$((failures + $(wc -l <"$work/broken")))
done <"$work/sources"

if ((failures > 0)); then
    echo "Hilfe-Prüfung: $failures Fehler." >&2
    exit 1
fi
echo "Hilfe-Prüfung: alles in Ordnung ($(wc -l <"$work/sources") Quelldateien, ${#toc[@]} Einträge im Inhalt, ${#index[@]} im Index)."
