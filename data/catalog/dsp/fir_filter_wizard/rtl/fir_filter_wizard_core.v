// Behavioural simulation model of the fir_filter_wizard IP. Parameters and ports follow
// the component file; the generated wrapper instantiates this module. The coefficients
// a user designs in Sylvane do not reach the model: it filters with a triangular
// low-pass window of TAPS coefficients, tap k being
// floor((2^(COEFF_WIDTH-1) - 1) * min(k + 1, TAPS - k) / ((TAPS + 1) / 2)),
// so the middle tap is the largest a signed COEFF_WIDTH-bit coefficient holds.
// din is a signed sample a clock; dout is the full-precision sum, registered, one clock
// after the sample that entered it, whatever STRUCTURE says.
module fir_filter_wizard_core #(
    // 2 to 1024
    parameter integer TAPS = 32,
    // 2 to 32
    parameter integer COEFF_WIDTH = 16,
    // "direct", "transposed" or "systolic"; the model's response is the same for all
    parameter STRUCTURE = "transposed"
) (
    input  wire                                   clk,
    input  wire [15:0]                            din,
    output reg  [COEFF_WIDTH + $clog2(TAPS) + 15:0] dout
);
    // Wide enough that no sum of TAPS full-scale products overflows.
    localparam integer OUT_WIDTH = COEFF_WIDTH + $clog2(TAPS) + 16;
    localparam integer PEAK = (TAPS + 1) / 2;
    localparam [63:0] LARGEST = (64'd1 << (COEFF_WIDTH - 1)) - 64'd1;

    reg signed [COEFF_WIDTH-1:0] h[0:TAPS-1];
    // x[k] is the sample of k + 1 clocks ago.
    reg signed [15:0] x[0:TAPS-2];
    reg signed [OUT_WIDTH-1:0] sum;
    integer k;

    initial begin
        for (k = 0; k < TAPS; k = k + 1)
            h[k] = LARGEST * ((k + 1 < TAPS - k) ? k + 1 : TAPS - k) / PEAK;
        for (k = 0; k < TAPS - 1; k = k + 1)
            x[k] = 16'sd0;
        dout = {OUT_WIDTH{1'b0}};
    end

    always @(posedge clk) begin
        sum = h[0] * $signed(din);
        for (k = 1; k < TAPS; k = k + 1)
            sum = sum + h[k] * x[k-1];
        dout <= sum;
        for (k = TAPS - 2; k > 0; k = k - 1)
            x[k] <= x[k-1];
        x[0] <= din;
    end
endmodule
