#!/usr/bin/env python3
"""Writes the synthetic example flights in examples/flights/.

Every value comes from the key points below, joined by straight lines; no
recorded flight is used. Standard library only; the output is the same on
every run.

    python3 scripts/make-example-flights.py [folder]
"""

import math
import os
import sys

# A short circuit for the CSV example: (seconds, altitude ft, airspeed mph).
CIRCUIT_START = 10 * 3600  # 10:00:00
CIRCUIT_STEP_S = 5
CIRCUIT = [
    (0, 450, 0), (30, 450, 14), (90, 450, 14), (100, 450, 0), (110, 450, 0),
    (125, 450, 40), (130, 480, 48), (200, 1400, 60), (230, 1500, 70),
    (300, 1500, 72), (330, 1100, 60), (380, 700, 52), (410, 500, 45),
    (420, 450, 36), (435, 450, 12), (470, 450, 10), (480, 450, 0),
]

# An hour of soaring for the IGC example, over midnight UTC:
# (seconds from the start, pressure altitude m, indicated airspeed km/h).
SOARING_DATE = "311226"  # the first fix's day, 31 December 2026
SOARING_START = 23 * 3600 + 32 * 60  # 23:32:00 UTC
SOARING_STEP_S = 4
SOARING_CENTRE = (46.25, 7.5)  # degrees north, east
SOARING_RADIUS_M = 2500.0
SOARING = [
    (0, 120, 0), (60, 120, 0), (90, 120, 95), (100, 135, 110),
    (400, 600, 120),  # aerotow to release
    (460, 600, 90), (1200, 1500, 85),  # thermal
    (1300, 1400, 140), (1500, 1200, 130),  # glide
    (1560, 1200, 88), (2200, 1850, 82),  # thermal to the day's top
    (2260, 1700, 160), (2300, 1600, 160),  # a fast run, the day's fastest
    (2500, 1300, 120), (3200, 400, 110),  # final glide
    (3400, 200, 95), (3500, 120, 80),  # circuit and approach
    (3540, 120, 0), (3600, 120, 0),  # landed
]

# A short IGC without extensions: due north at 0.054 minutes of latitude
# per 4 s (25.02 m/s on a sphere of 6371 km), pressure altitude 300 m.
GROUND_DATE = "150626"
GROUND_START = 14 * 3600  # 14:00:00 UTC
GROUND_STEP_S = 4
GROUND_FIXES = 11
GROUND_START_LAT_MIN = 46 * 60 + 10.0  # 46 deg 10.000 min N
GROUND_LON = (7, 30.0)
GROUND_LAT_STEP_MIN = 0.054
GROUND_ALTITUDE_M = 300

# Two short logs as the gliding loggers write them, for the scales of their
# speed fields: (seconds from the start, pressure altitude m, speed km/h).
# The first declares five-digit TAS and GSP (hundredths of km/h; no wind, so
# the ground speed is the true airspeed), the second a three-digit IAS.
LOGGER_STEP_S = 2
LOGGER_CIRCLE_M = 1500.0
LOGGER_TAS_DATE = "020726"
LOGGER_TAS_START = 13 * 3600  # 13:00:00 UTC
LOGGER_TAS = [
    (0, 250, 0), (20, 250, 0), (50, 250, 100), (200, 700, 115),  # aerotow
    (260, 700, 95), (500, 1400, 90),  # thermal to the top
    (540, 1300, 150), (580, 1200, 170.61),  # a fast run, the fastest: 100.0 mph indicated
    (700, 400, 130), (760, 250, 90), (780, 250, 0), (800, 250, 0),  # glide home, landed
]
LOGGER_IAS_DATE = "030726"
LOGGER_IAS_START = 9 * 3600 + 15 * 60  # 09:15:00 UTC
LOGGER_IAS = [
    (0, 480, 0), (30, 480, 0), (60, 480, 118),  # winch launch
    (90, 800, 105), (300, 1100, 88), (360, 1050, 142),  # thermal, then a fast run
    (480, 600, 110), (560, 480, 75), (580, 480, 0), (600, 480, 0),  # home, landed
]

EARTH_RADIUS_M = 6371000.0


def interpolate(points, t):
    for (t0, *a), (t1, *b) in zip(points, points[1:]):
        if t0 <= t <= t1:
            f = (t - t0) / (t1 - t0)
            return [x + f * (y - x) for x, y in zip(a, b)]
    return list(points[-1][1:])


def clock(seconds, sep=""):
    seconds %= 86400
    return sep.join("%02d" % v for v in (seconds // 3600, seconds // 60 % 60, seconds % 60))


def igc_angle(value_deg, degree_digits, positive, negative):
    letter = positive if value_deg >= 0 else negative
    value = abs(value_deg)
    degrees = int(value)
    thousandths = round((value - degrees) * 60000)
    if thousandths == 60000:
        degrees, thousandths = degrees + 1, 0
    return "%0*d%05d%s" % (degree_digits, degrees, thousandths, letter)


def igc_altitude(metres):
    return "%05d" % metres if metres >= 0 else "-%04d" % -metres


def write(path, lines):
    with open(path, "w", newline="") as f:
        f.write("".join(lines))


def make_circuit(folder):
    lines = [
        "# Synthetic: a short circuit made by scripts/make-example-flights.py.\n",
        "time(hh:mm:ss),altitude(ft),airspeed(mph)\n",
    ]
    for t in range(0, CIRCUIT[-1][0] + 1, CIRCUIT_STEP_S):
        altitude, airspeed = interpolate(CIRCUIT, t)
        lines.append("%s,%d,%d\n" % (clock(CIRCUIT_START + t, ":"), round(altitude), round(airspeed)))
    write(os.path.join(folder, "circuit.csv"), lines)


def make_soaring(folder):
    # IGC lines end in CR LF.
    lines = ["AXXX001 SYNTHETIC EXAMPLE\r\n", "HFDTE%s\r\n" % SOARING_DATE,
             "I023638FXA3941IAS\r\n"]
    lat0, lon0 = SOARING_CENTRE
    angle = 0.0
    for t in range(0, SOARING[-1][0] + 1, SOARING_STEP_S):
        altitude, ias = interpolate(SOARING, t)
        # Round and round a circle at the airspeed, no wind.
        angle += ias / 3.6 * SOARING_STEP_S / SOARING_RADIUS_M
        north = SOARING_RADIUS_M * math.sin(angle)
        east = SOARING_RADIUS_M * (1 - math.cos(angle))
        lat = lat0 + math.degrees(north / EARTH_RADIUS_M)
        lon = lon0 + math.degrees(east / (EARTH_RADIUS_M * math.cos(math.radians(lat0))))
        altitude = round(altitude)
        lines.append("B%s%s%sA%s%s%03d%03d\r\n" % (
            clock(SOARING_START + t), igc_angle(lat, 2, "N", "S"), igc_angle(lon, 3, "E", "W"),
            igc_altitude(altitude), igc_altitude(altitude + 48), 5, round(ias)))
    write(os.path.join(folder, "soaring-hour.igc"), lines)


def make_ground_speed(folder):
    lines = ["AXXX002 SYNTHETIC EXAMPLE\r\n", "HFDTE%s\r\n" % GROUND_DATE]
    for i in range(GROUND_FIXES):
        t = GROUND_START + i * GROUND_STEP_S
        minutes = GROUND_START_LAT_MIN + i * GROUND_LAT_STEP_MIN
        lat = "%02d%05dN" % (minutes // 60, round((minutes % 60) * 1000))
        lon = "%03d%05dE" % (GROUND_LON[0], round(GROUND_LON[1] * 1000))
        lines.append("B%s%s%sA%s%s\r\n" % (clock(t), lat, lon, igc_altitude(GROUND_ALTITUDE_M),
                                           igc_altitude(GROUND_ALTITUDE_M + 52)))
    write(os.path.join(folder, "ground-speed.igc"), lines)


def logger_lines(date, start, points, i_record, fields):
    lines = ["AXXX003 SYNTHETIC EXAMPLE\r\n", "HFDTE%s\r\n" % date, i_record + "\r\n"]
    lat0, lon0 = SOARING_CENTRE
    angle = 0.0
    for t in range(0, points[-1][0] + 1, LOGGER_STEP_S):
        altitude, speed = interpolate(points, t)
        angle += speed / 3.6 * LOGGER_STEP_S / LOGGER_CIRCLE_M
        lat = lat0 + math.degrees(LOGGER_CIRCLE_M * math.sin(angle) / EARTH_RADIUS_M)
        lon = lon0 + math.degrees(LOGGER_CIRCLE_M * (1 - math.cos(angle)) /
                                  (EARTH_RADIUS_M * math.cos(math.radians(lat0))))
        altitude = round(altitude)
        lines.append("B%s%s%sA%s%s%s\r\n" % (
            clock(start + t), igc_angle(lat, 2, "N", "S"), igc_angle(lon, 3, "E", "W"),
            igc_altitude(altitude), igc_altitude(altitude + 61), fields(speed)))
    return lines


def make_logger_logs(folder):
    # FXA 36-38, ENL 39-41, TAS 42-46 and GSP 47-51.
    write(os.path.join(folder, "logger-tas.igc"), logger_lines(
        LOGGER_TAS_DATE, LOGGER_TAS_START, LOGGER_TAS, "I043638FXA3941ENL4246TAS4751GSP",
        lambda speed: "%03d%03d%05d%05d" % (8, 12, round(speed * 100), round(speed * 100))))
    write(os.path.join(folder, "logger-ias.igc"), logger_lines(
        LOGGER_IAS_DATE, LOGGER_IAS_START, LOGGER_IAS, "I013638IAS",
        lambda speed: "%03d" % round(speed)))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "examples", "flights")
    os.makedirs(folder, exist_ok=True)
    make_circuit(folder)
    make_soaring(folder)
    make_ground_speed(folder)
    make_logger_logs(folder)


if __name__ == "__main__":
    main()
