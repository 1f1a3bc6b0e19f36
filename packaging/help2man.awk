# Turns the output of `mavorin --help` into a man page, so the two cannot say different things.
# Variables: version, date, summary (the one line of the NAME section).
# Layout of the help text: "Usage:" lines first; a line at column 0 ending in ":" starts a
# section; "  -x, --xx ARG   text" is an option (its text continues on lines indented by six or
# more); lines indented by four are shown as written; anything else is running text.

function esc(s) {
    gsub(/\\/, "\\e", s)
    return s
}
# Options and literal lines: every hyphen is a real minus, so that copying them works.
function esc_code(s) {
    s = esc(s)
    gsub(/-/, "\\-", s)
    return s
}
# Running text: only hyphens that start a word ("--list", "-h") are minus signs.
function esc_text(s) {
    s = esc(s)
    s = " " s
    while (match(s, /[ (]-/)) s = substr(s, 1, RSTART) "\\-" substr(s, RSTART + 2)
    while (match(s, /\\--/)) s = substr(s, 1, RSTART + 1) "\\-" substr(s, RSTART + 3)
    return substr(s, 2)
}
function line_out(s) {
    if (s ~ /^[.']/) s = "\\&" s
    print s
}
function close_literal() {
    if (literal) {
        print ".fi"
        print ".RE"
        literal = 0
    }
}
# "-h, --help" in bold, "FILE" and "MS" in italics.
function term(s,    n, w, i, out, word, tail) {
    n = split(s, w, / +/)
    out = ""
    for (i = 1; i <= n; i++) {
        word = w[i]
        tail = ""
        if (word ~ /,$/) {
            tail = ","
            word = substr(word, 1, length(word) - 1)
        }
        if (word ~ /^-/) word = "\\fB" esc_code(word) "\\fR"
        else word = "\\fI" esc_code(word) "\\fR"
        out = out (i > 1 ? " " : "") word tail
    }
    return out
}

BEGIN {
    print ".\\\" Generated from the output of mavorin --help; edit that text, not this file."
    printf ".TH MAVORIN 1 \"%s\" \"mavorin %s\" \"User Commands\"\n", date, version
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print "mavorin \\- " esc_text(summary)
    state = "start"
    pending_pp = 0
}

{
    sub(/\r$/, "")
}

state == "start" && /^Usage: / {
    print ".SH SYNOPSIS"
    sub(/^Usage: +/, "")
    state = "usage"
}

state == "usage" {
    if ($0 ~ /^ *$/) {
        print ".SH DESCRIPTION"
        state = "body"
        next
    }
    line = $0
    sub(/^ +/, "", line)
    if (line ~ /^mavorin/) {
        if (synopsis_lines++) print ".br"
        print ".B mavorin"
        rest = substr(line, 8)
        sub(/^ +/, "", rest)
        if (rest != "") line_out(esc_code(rest))
    }
    next
}

state != "body" { next }

/^ *$/ {
    close_literal()
    in_option = 0
    pending_pp = 1
    next
}

/^[A-Z][^:]*:$/ {
    close_literal()
    in_option = 0
    pending_pp = 0
    heading = toupper(substr($0, 1, length($0) - 1))
    sub(/^THE /, "", heading)
    print ".SH " heading
    next
}

in_option && /^      +[^ -]/ {
    line = $0
    sub(/^ +/, "", line)
    line_out(esc_text(line))
    next
}

/^  -/ {
    close_literal()
    line = substr($0, 3)
    if (match(line, /  +/)) {
        t = substr(line, 1, RSTART - 1)
        d = substr(line, RSTART + RLENGTH)
    } else {
        t = line
        d = ""
    }
    print ".TP"
    line_out(term(t))
    if (d != "") line_out(esc_text(d))
    in_option = 1
    pending_pp = 0
    next
}

/^    / {
    in_option = 0
    if (!literal) {
        if (pending_pp) print ".PP"
        pending_pp = 0
        print ".RS 2"
        print ".nf"
        literal = 1
    }
    line_out(esc_code(substr($0, 5)))
    next
}

{
    close_literal()
    if (in_option) {
        in_option = 0
        pending_pp = 1
    }
    if (pending_pp) print ".PP"
    pending_pp = 0
    line = $0
    sub(/^ +/, "", line)
    line_out(esc_text(line))
}

END {
    close_literal()
}
