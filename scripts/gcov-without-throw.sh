#!/bin/sh
# gcov for lcov's geninfo (geninfo_gcov_tool), with the exception edges of
# the calls taken out of the JSON it writes: a call that may throw is a
# block with two ways out, on (fallthrough) and the exception (throw), and
# neither is a decision of the firmware, which neither throws nor catches.
# Debian 12's lcov 1.16 ignores geninfo_no_exception_branch, which means the
# same: a second copy of its JSON reader, without the filter, overrides the
# first.
set -eu
gcov "$@"
for json in *.gcov.json.gz; do
  [ -e "$json" ] || continue
  perl -MJSON::PP -MIO::Uncompress::Gunzip=gunzip,\$GunzipError \
    -MIO::Compress::Gzip=gzip,\$GzipError -e '
      my $file = $ARGV[0];
      gunzip($file => \my $text) or die "$file: $GunzipError\n";
      my $data = decode_json($text);
      for my $source (@{$data->{files}}) {
        for my $line (@{$source->{lines}}) {
          my @in = @{$line->{branches} || []};
          my @out;
          for my $branch (@in) {
            if ($branch->{throw}) {
              # The call'"'"'s way on is the fallthrough just before its throw.
              pop @out if @out && $out[-1]{fallthrough} && !$out[-1]{throw};
              next;
            }
            push @out, $branch;
          }
          $line->{branches} = \@out;
        }
      }
      gzip(\encode_json($data) => $file) or die "$file: $GzipError\n";
    ' "$json"
done
